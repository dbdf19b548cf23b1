// The one read rule every option.ini reader follows, and the readers and writers per key.
//
// Rule: a key is read with the fallback "Error"; an empty or "Error" value counts as absent; an
// absent value, or for keys with a fixed set of values one outside the set, is replaced by the
// key's default, which is written back and used. A write that fails throws SettingsWriteError.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "media/options.h"
#include "settings/ini_file.h"
#include "settings/run_options.h"

namespace velmora::settings {

// Whether a read value stands for a missing setting ("" or "Error").
bool is_absent(std::string_view value);

// The stored value of key, or nullopt when it is absent.
std::optional<std::string> read_present(const IniFile& ini, std::string_view section,
                                        std::string_view key);

// The stored value when it is one of allowed (compared exactly); otherwise default_value, which
// is then written back.
std::string read_one_of(const IniFile& ini, std::string_view section, std::string_view key,
                        std::initializer_list<std::string_view> allowed,
                        std::string_view default_value);

// Creates folder with all missing parents; a folder that cannot be created is left as it is.
void make_folder(const std::string& folder);

// --- Options: the options dialog's five keys -------------------------------------------------

// Thread_Count: the thread-count list item to select, 1 to 19. "1".."19" select themselves;
// "0" selects 1 and stays; anything else selects 1 and writes "0" back.
int read_thread_count_item(const IniFile& ini);
// After_Done: "0".."3"; default "0".
AfterDone read_after_done(const IniFile& ini);
// Thread_Priority: "0" idle, "1" lowest, "2" lower, "3" normal; default "3".
media::TThreadPriority read_thread_priority(const IniFile& ini);
// Overwrite_File: "0" overwrite, "1" rename; default "1".
ExistingOutput read_overwrite_file(const IniFile& ini);
// Show_Preview: "1" on, "0" off; default "0".
bool read_show_preview(const IniFile& ini);

// The stored texts of the options.
std::string_view after_done_text(AfterDone action);
std::string_view thread_priority_text(media::TThreadPriority priority);
std::string_view overwrite_file_text(ExistingOutput mode);
std::string_view show_preview_text(bool checked);

// --- OutPath ----------------------------------------------------------------------------------

// `Button17Click`'s read of the output folder. Without option.ini, or with an absent OutPath, or
// when anything goes wrong on the way, default_folder is created, written to OutPath and
// returned; a stored folder is created when missing and returned. Throws SettingsWriteError only
// when even writing the default fails.
std::string read_output_folder(const IniFile& ini, const std::string& default_folder);
// `Button16Click`: writes folder to OutPath when that folder exists; otherwise writes nothing.
void save_output_folder(const IniFile& ini, const std::string& folder);

// --- Skin -------------------------------------------------------------------------------------

// Returned for a SetSkin value that is not a decimal integer: no skin list holds it.
inline constexpr int kNoSkinIndex = -1;

// `Button3Click`'s read: the main skin index from SetSkin, taken as a decimal integer without a
// range check; an absent value writes "0" back and gives 0. A value that is not a decimal integer
// (or does not fit an int) gives kNoSkinIndex and the file keeps it.
int read_skin_index(const IniFile& ini);

// --- SnapShot ---------------------------------------------------------------------------------

// Dir: the snapshot folder, default_folder when absent (then written back); the folder in use is
// created when missing.
std::string read_snapshot_folder(const IniFile& ini, const std::string& default_folder);
// Writes folder to Dir when that folder exists; returns whether it was written.
bool save_snapshot_folder(const IniFile& ini, const std::string& folder);
// Picture: "BMP", "JPG", "GIF" or "PNG" (exact case); default "BMP".
PictureType read_picture_type(const IniFile& ini);
void write_picture_type(const IniFile& ini, PictureType type);
// "BMP", "JPG", "GIF" or "PNG".
std::string_view picture_type_text(PictureType type);

}  // namespace velmora::settings
