#include "jobs/open_file_filter.h"

#include <fnmatch.h>

#include <filesystem>

namespace velmora::jobs {
namespace {

constexpr FileFilterEntry kEntries[] = {
    {"所有文件格式 (*.*)", "*.*"},  // 1
    {"支持的视频/音频文件格式",
     "*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*."
     "RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.SWF;*.FLAC;*.M4A;*.MID;*.MKA;"
     "*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;*.mkv;*.dv;*"
     ".yuv;*.h261;*.h264;*.mjpeg;*.dif;*.m4v;*.3gpp;*.3gp2;*.qt"},  // 2
    {"支持的视频文件格式",
     "*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*."
     "RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.SWF;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;*.mkv;*.dv;*."
     "yuv;*.h261;*.h264;*.mjpeg;*.dif;*.m4v;*.3gpp;*.3gp2;*.qt"},  // 3
    {"支持的音频文件格式",
     "*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*."
     "RA;*.WV;*.TTA;*.AC3"},                                // 4
    {"AVI文件 (*.avi)", "*.avi"},                           // 5
    {"Real视频文件格式 (*.rm;*.rmvb)", "*.rm;*.rmvb"},      // 6
    {"MP4视频格式 (*.mp4;*.m4v)", "*.mp4;*.m4v"},           // 7
    {"MPEG视频格式 (*.mpg;*.mpeg)", "*.mpg;*.mpeg"},        // 8
    {"DVD视频格式 (*.vob)", "*.vob"},                       // 9
    {"VCD/SVCD视频格式 (*.dat;*.mpg)", "*.dat;*.mpg"},      // 10
    {"ASF微软视频格式 (*.asf)", "*.asf"},                   // 11
    {"WMV微软视频格式 (*.wmv)", "*.wmv"},                   // 12
    {"手机3GPP文件格式 (*.3gp;*.3gpp)", "*.3gp;*.3gpp"},    // 13
    {"手机3GPP2文件格式 (*.3g2;*.3gp2)", "*.3g2;*.3gp2"},   // 14
    {"Flash动画格式 (*.swf)", "*.swf"},                     // 15
    {"Flash视频格式 (*.flv)", "*.flv"},                     // 16
    {"MKV视频媒体格式 (*.mkv)", "*.mkv"},                   // 17
    {"Quick Time视频文件格式 (*.mov;*.qt)", "*.mov;*.qt"},  // 18
    {"DV数字视频文件格式 (*.dv;*.dif)", "*.dv;*.dif"},      // 19
    {"Raw h261类型文件 (*.h261)", "*.h261"},                // 20
    {"Raw h264类型文件 (*.h264)", "*.h264"},                // 21
    {"YUV类型文件 (*.yuv)", "*.yuv"},                       // 22
    {"GIF图片动画格式 (*.gif)", "*.gif"},                   // 23
    {"MJPEG视频格式(*.mjpg;*.mjpeg)", "*.mjpg;*.mjpeg"},    // 24
    {"TS视频格式 (*.ts)", "*.ts"},                          // 25
    {"WMV高清HD视频格式 (*.xwmv)", "*.xwmv"},               // 26
    {"微软数字视频格式( *.dvr-ms)", "*.dvr-ms"},            // 27
    {"iTunes视频格式 (*.m4v)", "*.m4v"},                    // 28
    {"MP3音频格式 (*.mp3)", "*.mp3"},                       // 29
    {"CD音频格式 (*.cda)", "*.cda"},                        // 30
    {"WMA微软音频格式 (*.wma)", "*.wma"},                   // 31
    {"WAVE音频格式 (*.wav)", "*.wav"},                      // 32
    {"REAL音频格式 (*.ra;*.ram)", "*.ra;*.ram"},            // 33
    {"MP4音频格式 (*.m4a;*.mp4)", "*.m4a;*.mp4"},           // 34
    {"AAC高级音频格式 (*.aac)", "*.aac"},                   // 35
    {"AC3音频格式 (*.ac3)", "*.ac3"},                       // 36
    {"Monkey音频格式 (*.ape;*.cue)", "*.ape;*.cue"},        // 37
    {"Flac无损压缩音频格式　(*.flac)", "*.flac"},           // 38
    {"MPEG音频编码格式(*.mpa)", "*.mpa"},                   // 39
    {"MPEG 2音频编码格式(*.mp2)", "*.mp2"},                 // 40
    {"OGG音频编码格式(*.ogg)", "*.ogg"},                    // 41
    {"AIFF音频编码格式(*.aif; *.aiff)", "*.aif; *.aiff"},   // 42
};

}  // namespace

std::span<const FileFilterEntry> open_file_filter_entries() {
    return kEntries;
}

std::string open_file_filter_text() {
    std::string text;
    for (const auto& entry : kEntries) {
        text.append(entry.description).append("|").append(entry.patterns).append("|");
    }
    return text;
}

QString case_insensitive_glob(QStringView pattern) {
    if (pattern == u"*.*") {
        return QStringLiteral("*");
    }
    QString glob;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper()) {
            glob += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        } else {
            glob += c;
        }
    }
    return glob;
}

QStringList qt_name_filters() {
    QStringList filters;
    for (const auto& entry : kEntries) {
        const QString patterns =
            QString::fromUtf8(entry.patterns.data(), static_cast<qsizetype>(entry.patterns.size()));
        QStringList globs;
        for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty() && !globs.contains(case_insensitive_glob(trimmed))) {
                globs << case_insensitive_glob(trimmed);
            }
        }
        filters << QString::fromUtf8(entry.description.data(),
                                     static_cast<qsizetype>(entry.description.size())) +
                       QStringLiteral(" (") + globs.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

std::vector<std::string> GetFilenames(const std::string& FilePath, const std::string& ExtMask) {
    std::vector<std::string> names;
    std::error_code error;
    if (!std::filesystem::is_directory(FilePath, error)) {
        return names;
    }
    // "*.*" names every file, as on the system the mask comes from.
    const std::string mask = ExtMask == "*.*" ? "*" : ExtMask;
    for (std::filesystem::directory_iterator it(FilePath, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_directory(error)) {
            continue;
        }
        const std::string name = it->path().filename().string();
        if (::fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0) {
            names.push_back(it->path().string());
        }
    }
    return names;
}

}  // namespace velmora::jobs
