// Skin data: a list of skins compiled into the program and the index of the one in use.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace velmora::settings {

// A skin is a Qt style sheet stored in the program's resources. An index the list holds loads
// that skin; any other index is ignored, and a list that never loaded one paints nothing.
class SkinData {
  public:
    // A list of the style sheets at these resource paths, nothing loaded.
    explicit SkinData(QStringList resource_paths);

    // `bsSkinData1`'s list: one dark skin ("Office2010 Black" style) for every window and
    // control. Starts with nothing loaded; the start-up read of SetSkin sets its index.
    static SkinData main_skins();
    // `bsSkinData2`'s list: one light glossy skin for the main toolbar's buttons, the six option
    // lists and the options dialog's radio buttons. Comes with index 0 already loaded.
    static SkinData second_skins();

    // Loads the skin at index when the list holds it and returns true; otherwise changes
    // nothing and returns false.
    bool set_skin_index(int index);
    bool loaded() const { return index_ >= 0; }
    // Index of the loaded skin, -1 while none is loaded.
    int index() const { return index_; }
    // Number of skins in the list.
    int count() const { return static_cast<int>(resource_paths_.size()); }
    // The loaded skin's style sheet; empty when none is loaded.
    QString style_sheet() const { return style_sheet_; }
    // Paints w and its children with the loaded skin; does nothing when none is loaded.
    void apply_to(QWidget& w) const;

  private:
    QStringList resource_paths_;
    int index_ = -1;
    QString style_sheet_;
};

}  // namespace velmora::settings
