// The run options the options dialog holds, as the rest of the program reads them.
#pragma once

namespace velmora::settings {

// What happens when every job of a run is done; the values are those stored in After_Done.
enum class AfterDone { OpenOutputFolder = 0, ShutDown = 1, PlaySound = 2, Nothing = 3 };

// What happens when an output file already exists; the values are those stored in
// Overwrite_File.
enum class ExistingOutput { Overwrite = 0, Rename = 1 };

// Snapshot picture types, stored in Picture as "BMP", "JPG", "GIF" and "PNG".
enum class PictureType { Bmp, Jpg, Gif, Png };

}  // namespace velmora::settings
