// Sections, keys and values of option.ini.
#pragma once

#include <string_view>

namespace velmora::settings::keys {

// Every read passes this fallback; a stored "Error" therefore reads as a missing key.
inline constexpr std::string_view kReadFallback = "Error";

inline constexpr std::string_view kOptions = "Options";
inline constexpr std::string_view kThreadCount = "Thread_Count";
inline constexpr std::string_view kAfterDone = "After_Done";
inline constexpr std::string_view kShowPreview = "Show_Preview";
inline constexpr std::string_view kThreadPriority = "Thread_Priority";
inline constexpr std::string_view kOverwriteFile = "Overwrite_File";

inline constexpr std::string_view kOutPathSection = "OutPath";
inline constexpr std::string_view kOutPath = "OutPath";

inline constexpr std::string_view kSkin = "Skin";
inline constexpr std::string_view kSetSkin = "SetSkin";

inline constexpr std::string_view kSnapShot = "SnapShot";
inline constexpr std::string_view kDir = "Dir";
inline constexpr std::string_view kPicture = "Picture";

}  // namespace velmora::settings::keys
