// The catalogue tables: 28 categories and 288 format captions, in selector order.
#include "presets/catalogue.h"

#include <cmath>

namespace velmora::presets {
namespace {

constexpr std::string_view kFormats0[] = {
    "AVI - 音频视频交错格式(*.avi)",  // 100
    "MP4 - MPEG-4视频格式(*.mp4)",  // 101
    "DivX - 视频格式(*.avi)",  // 102
    "MOV - 苹果QuickTime视频格式(*.mov)",  // 103
    "XviD - 视频格式(*.avi)",  // 104
    "MKV - Matroska视频格式(*.mkv)",  // 105
    "MPEG-1视频格式(*.mpg)",  // 106
    "MPEG-2视频格式(*.mpg)",  // 107
    "ASF - 高级流视频格式(*.asf)",  // 108
    "3GP - 视频格式(*.3gp)",  // 109
    "WMV - 视频格式(*.wmv)",  // 110
    "DVD - 视频格式(*.mpg)",  // 111
    "SVCD - 视频格式(*.mpg)",  // 112
    "VCD - 视频格式(*.mpg)",  // 113
    "RM - REAL视频格式(*.rm)",  // 114
};
constexpr std::string_view kFormats1[] = {
    "MP3 - MPEG Layer-3音频格式(*.mp3)",  // 200
    "WMA - Windows媒体音频格式(*.wma)",  // 201
    "WAV - 波形音频格式(*.wav)",  // 202
    "AAC - 高级音频格式(*.aac)",  // 203
    "M4A - MPEG-4音频格式(*.m4a)",  // 204
    "OGG - Ogg Vorbis音频格式(*.ogg)",  // 205
    "RA - RealAudio音频格式(*.ra)",  // 206
    "AC3 - 杜比数字AC-3音频格式(*.ac3)",  // 207
    "AIFF - 音频交换文件格式(*.aiff)",  // 208
    "MP2 - MPEG Layer-2音频格式(*.mp2)",  // 209
    "FLAC-音频格式(*.flac)",  // 210
    "MP4-MP4音频格式(*.m4a)",  // 211
    "AMR-手机音频格式(*.amr)",  // 212
};
constexpr std::string_view kFormats2[] = {
    "高清AVI视频格式(*.avi)",  // 300
    "高清AVI视频格式(*.avi)",  // 301
    "高清H264视频格式(*.mp4)",  // 302
    "高清MPEG-4视频格式(*.mp4)",  // 303
    "高清MOV视频格式(*.mov)",  // 304
    "高清ASF视频格式(*.asf)",  // 305
    "高清WMV视频格式(*.wmv)",  // 306
    "高清DVD视频格式(*.vob)",  // 307
    "高清MPEG-2视频格式(*.mpg)",  // 308
    "高清MKV视频格式(*.mkv)",  // 309
};
constexpr std::string_view kFormats3[] = {
    "iPod (320X240) 高清晰视频(*.mp4)",  // 400
    "iPod (320X240) 高压缩视频(*.mp4)",  // 401
    "iPod (320X240) 标准视频(*.mp4)",  // 402
    "iPod Video2 TV OutPut视频(*.mp4)",  // 403
    "iPod Video2 (640X480)视频(*.mp4)",  // 404
    "iPod Video2 (640X480)高清晰视频(*.mp4)",  // 405
    "iPod Video2 (640X480)高压缩视频(*.mp4)",  // 406
    "iPod touch MPEG-4视频(*.mp4)",  // 407
    "iPod touch MPEG-4 480P视频(*.mp4)",  // 408
    "iPod touch MPEG-4 480P高清晰视频(*.mp4)",  // 409
    "iPod touch MPEG-4 480P高压缩视频(*.mp4)",  // 410
    "iPod touch MPEG-4 480P宽屏视频(*.mp4)",  // 411
    "iPod touch MPEG-4 (320X240)视频(*.mp4)",  // 412
    "iPod touch MPEG-4 (480X320)视频(*.mp4)",  // 413
};
constexpr std::string_view kFormats4[] = {
    "标准iPhone MPEG-4视频(*.mp4)",  // 500
    "iPhone MPEG-4视频480P(*.mp4)",  // 501
    "高清iPhone MPEG-4视频720P(*.mp4)",  // 502
    "高清iPhone H264视频720P(*.mp4)",  // 503
    "高清iPhone H264视频1080P(*.mp4)",  // 504
    "iPhone MPEG-4视频宽屏(*.mp4)",  // 505
    "iPhone MPEG-4高清晰视频(*.mp4)",  // 506
    "iPhone MPEG-4视频(320X240)(*.mp4)",  // 507
    "iPhone MPEG-4视频(480X320)(*.mp4)",  // 508
    "iPhone 标准MOV视频(*.mov)",  // 509
    "iPhone 高清MOV视频(*.mov)",  // 510
    "iPhone 标准AVI视频-Xvid(*.avi)",  // 511
    "iPhone 高清DivX视频(*.avi)",  // 512
    "iPhone 高清AVI视频(*.avi)",  // 513
    "iPhone 高清WMV视频(*.wmv)",  // 514
};
constexpr std::string_view kFormats5[] = {
    "PSP MPEG-4视频(*.mp4)",  // 600
    "PSP AVC MPEG-4视频(*.mp4)",  // 601
    "PSP高清晰MPEG-4视频(*.mp4)",  // 602
    "PSP高压缩MPEG-4视频(*.mp4)",  // 603
    "PSP Video MPEG-4视频480P(*.mp4)",  // 604
};
constexpr std::string_view kFormats6[] = {
    "3GPP -  第三代合作项目-3GP视频+AMR音频(*.3gp)",  // 700
    "3GPP -  第三代合作项目-3GP视频+AAC音频(*.3gp)",  // 701
    "3GPP2 -  第三代合作项目2-3G2视频+AMR音频(*.3g2)",  // 702
    "3GPP2 -  第三代合作项目2-3G2视频+AAC音频(*.3g2)",  // 703
    "黑莓手机3GP视频+AMR音频(*.3gp)",  // 704
    "黑莓手机3GP视频+AAC音频(*.3gp)",  // 705
    "黑莓手机AVI视频(*.avi)",  // 706
    "黑莓手机MPEG-4视频(*.mp4)",  // 707
    "黑莓手机AMR音频格式(*.amr)",  // 708
    "Symbian智能平台手机专用MP4视频(*.mp4)",  // 709
    "各种手机常用的MP4视频(*.mp4)",  // 710
    "各种手机常用的AVI视频(*.avi)",  // 711
    "各种手机常用的MOV视频(*.mov)",  // 712
    "各种手机常用的MP4视频(*.mp4)",  // 713
};
constexpr std::string_view kFormats7[] = {
    "Apple TV H264视频(320X240)(*.mp4)",  // 800
    "Apple TV H264视频480P(640X480)(*.mp4)",  // 801
    "Apple TV H264视频720P(1280X720)(*.mp4)",  // 802
    "Apple TV H264高清晰视频480P(640X480)(*.mp4)",  // 803
    "Apple TV MPEG-4高压缩视频480P(640X480)(*.mp4)",  // 804
};
constexpr std::string_view kFormats8[] = {
    "Xbox360 HD H.264视频(*.mp4)",  // 900
    "Xbox360 MCE HD MPEG-2视频(*.mpg)",  // 901
    "Xbox360 MCE HD MPEG-2视频(*.mpg)",  // 902
    "Xbox360 MPEG-4视频(*.mp4)",  // 903
    "Xbox360 MP4高清晰视频(*.mp4)",  // 904
    "Xbox360 WMV视频(*.wmv)",  // 905
    "Xbox360 WMV HDTV视频(*.wmv)",  // 906
    "Xbox360 MCE 高清晰AVI视频(*.avi)",  // 907
    "Xbox360 MCE 高清晰AVI视频(*.avi)",  // 908
    "Xbox360 MCE 高清晰AVI视频(*.avi)",  // 909
};
constexpr std::string_view kFormats9[] = {
    "爱可视AV500/GMini402视频(*.avi)",  // 1000
    "爱可视AV700视频(*.avi)",  // 1001
    "Creative Zen Vision视频(*.avi)",  // 1002
    "Zune MPEG-4 AVC视频(*.mp4)",  // 1003
    "Zune MPEG-4 AVC视频(*.mp4)",  // 1004
    "Zune MPEG-4视频(*.mp4)",  // 1005
    "Zune WMV多媒体视频(*.wmv)",  // 1006
    "iRiver PMP-100视频(*.avi)",  // 1007
};
constexpr std::string_view kFormats10[] = {
    "MP4机播放的MP4视频格式(*.mp4)",  // 1100
    "电脑上使用的MP4视频格式(*.mp4)",  // 1101
    "MPEG-4视频高清晰视频(*.mp4)",  // 1102
    "MP4 AVC视频(*.mp4)",  // 1103
    "MP4 H264编码视频(*.mp4)",  // 1104
};
constexpr std::string_view kFormats11[] = {
    "FLV在线网络视频(*.flv)",  // 1200
    "SWF动画视频FLASH动画视频(*.swf)",  // 1201
    "FLV在线网络音频格式(*.flv)",  // 1202
    "SWF动画视频FLASH动画音频格式(*.swf)",  // 1203
};
constexpr std::string_view kFormats12[] = {
    "iPad标准视频格式(*.mp4)",  // 1300
    "iPad高清视频格式H.264编码(*.mp4)",  // 1301
    "iPad MPEG-4视频格式 XviD编码 (*.mp4)",  // 1302
    "iPad 720P HD高清晰视频MPEG-4(*.mp4)",  // 1303
    "iPad 优化视频方案1(*.mp4)",  // 1304
    "iPad 优化视频方案2(*.mp4)",  // 1305
    "iPad 1080P FHD全高清晰视频MPEG-4(*.mp4)",  // 1306
    "iPad 标准MOV视频(*.mov)",  // 1307
    "iPad 高清MOV视频(*.mov)",  // 1308
    "iPad 标准AVI视频(*.avi)",  // 1309
    "iPad 高清AVI视频(*.avi)",  // 1310
};
constexpr std::string_view kFormats13[] = {
    "MPG标准视频(*.mpg)",  // 1400
    "MPEG-1标准视频(*.mpg)",  // 1401
    "MPEG-2标准视频(*.mpg)",  // 1402
    "MPEG-4标准视频(*.mp4)",  // 1403
    "MPEG-2高清HD视频(*.mpg)",  // 1404
    "MPEG-4高清HD视频(*.mp4)",  // 1405
    "MPEG-2优化视频(*.mpg)",  // 1406
    "MPEG-2高压缩视频(*.mpg)",  // 1407
    "DVD格式高清晰视频(*.mpg)",  // 1408
    "SVCD格式标清视频(*.mpg)",  // 1409
    "VCD格式清晰视频(*.mpg)",  // 1410
};
constexpr std::string_view kFormats14[] = {
    "标准的SWF视频格式(*.swf)",  // 1500
    "高清的SWF动画视频FLASH动画视频(*.swf)",  // 1501
    "优化的SWF视频格式(*.swf)",  // 1502
    "高压缩的SWF视频格式(*.swf)",  // 1503
    "FLV在线网络视频(*.flv)",  // 1504
    "SWF动画视频FLASH动画音频格式(*.swf)",  // 1505
    "FLV在线网络音频格式(*.flv)",  // 1506
};
constexpr std::string_view kFormats15[] = {
    "AVI标准视频(*.avi)",  // 1600
    "HD高清晰AVI标准视频(*.avi)",  // 1601
    "网络上常用的AVI视频(*.avi)",  // 1602
    "电脑上常用的AVI视频(*.avi)",  // 1603
    "优化的AVI视频(*.avi)",  // 1604
    "高压缩的AVI视频(*.avi)",  // 1605
    "高清的HD AVI视频(*.avi)",  // 1606
};
constexpr std::string_view kFormats16[] = {
    "MKV标准视频(*.mkv)",  // 1700
    "HD高清MKV视频(*.mkv)",  // 1701
    "网络上常用的MKV视频(*.mkv)",  // 1702
    "电脑上常用的MKV标准视频(*.mkv)",  // 1703
    "优化的MKV视频(*.mkv)",  // 1704
    "高压缩的MKV视频(*.mkv)",  // 1705
    "高清的HD MKV视频(*.mkv)",  // 1706
};
constexpr std::string_view kFormats17[] = {
    "WMV标准视频(*.wmv)",  // 1800
    "HD高清WMV视频(*.wmv)",  // 1801
    "网络上常用的WMV视频(*.wmv)",  // 1802
    "电脑上常用的WMV标准视频(*.wmv)",  // 1803
    "优化的WMV视频(*.wmv)",  // 1804
    "高压缩的WMV视频(*.wmv)",  // 1805
    "高清的HD WMV视频(*.wmv)",  // 1806
};
constexpr std::string_view kFormats18[] = {
    "ASF标准视频(*.asf)",  // 1900
    "HD高清ASF视频(*.asf)",  // 1901
    "网络上常用的ASF视频(*.asf)",  // 1902
    "电脑上常用的ASF标准视频(*.asf)",  // 1903
    "优化的ASF视频(*.asf)",  // 1904
    "高压缩的ASF视频(*.asf)",  // 1905
    "高清的HD ASF视频(*.asf)",  // 1906
};
constexpr std::string_view kFormats19[] = {
    "Android手机AVI视频(*.avi)",  // 2000
    "Android手机MPEG-4视频(*.mp4)",  // 2001
    "Android平台高清MP4视频(*.mp4)",  // 2002
    "安卓智能平台手机专用MP4视频(*.mp4)",  // 2003
    "H.264高清的MP4视频(*.mp4)",  // 2004
    "各种手机常用的AVI视频DivX(*.avi)",  // 2005
    "安卓适用的AVI视频Xvid(*.avi)",  // 2006
    "安卓常用的MOV视频(*.mov)",  // 2007
    "Android常用的WMV视频(*.wmv)",  // 2008
    "Android常用的MPEG视频(*.mpg)",  // 2009
    "Android平台的MKV视频(*.mkv)",  // 2010
    "Android平台的FLV视频(*.flv)",  // 2011
};
constexpr std::string_view kFormats20[] = {
    "VOB标准视频(*.vob)",  // 2100
    "HD高清VOB视频(*.vob)",  // 2101
    "高清DVD视频格式(*.vob)",  // 2102
    "电脑上常用的VOB标准视频(*.vob)",  // 2103
    "优化的VOB视频(*.vob)",  // 2104
    "高压缩的VOB视频(*.vob)",  // 2105
};
constexpr std::string_view kFormats21[] = {
    "MTS转换为标准AVI视频(*.avi)",  // 2200
    "Sony HD高清MTS视频转换为HD高清AVI视频(*.avi)",  // 2201
    "Sony AVCHD高清视频格式(*.avi)",  // 2202
    "MTS转换为MPEG-2视频格式标准视频(*.mpg)",  // 2203
    "MTS转换为MPG视频格式(*.mpg)",  // 2204
    "MTS转换为MP4视频(*.mp4)",  // 2205
    "MTS转换为AVI视频(*.avi)",  // 2206
    "MTS转换为3GP视频(*.3gp)",  // 2207
    "MTS转换为电脑常用WMV视频(*.wmv)",  // 2208
    "MTS转换为网络在线常用FLV视频(*.flv)",  // 2209
    "MTS视频转换为DVD视频(*.mpg)",  // 2210
    "MTS视频转换为SVCD视频(*.mpg)",  // 2211
    "MTS视频转换为VCD视频(*.mpg)",  // 2212
};
constexpr std::string_view kFormats22[] = {
    "MOD视频转换为标准AVI视频(*.avi)",  // 2300
    "JVC HD高清MOD视频转换为HD高清AVI视频(*.avi)",  // 2301
    "JVC DV摄像机MOD高清视频格式，转换为AVI视频格式(*.avi)",  // 2302
    "MOD视频转换为MPEG-2视频格式标准视频(*.mpg)",  // 2303
    "MOD视频转换为MPG视频格式(*.mpg)",  // 2304
    "MOD视频转换为MP4视频(*.mp4)",  // 2305
    "MOD视频转换为AVI视频(*.avi)",  // 2306
    "MOD视频转换为3GP视频(*.3gp)",  // 2307
    "MOD视频转换为电脑常用WMV视频(*.wmv)",  // 2308
    "MOD视频转换为网络在线常用FLV视频(*.flv)",  // 2309
    "MOD视频转换为DVD视频(*.mpg)",  // 2310
    "MOD视频转换为SVCD视频(*.mpg)",  // 2311
    "MOD视频转换为VCD视频(*.mpg)",  // 2312
};
constexpr std::string_view kFormats23[] = {
    "RMVB视频转换为标准AVI视频(*.avi)",  // 2400
    "HD高清RMVB视频转换为HD高清AVI视频(*.avi)",  // 2401
    "RM视频格式，转换为AVI视频格式(*.avi)",  // 2402
    "RMVB视频转换为MPEG-2视频格式标准视频(*.mpg)",  // 2403
    "RMVB视频转换为MPG视频格式(*.mpg)",  // 2404
    "RMVB视频转换为MP4视频(*.mp4)",  // 2405
    "RMVB视频转换为AVI视频(*.avi)",  // 2406
    "RMVB视频转换为3GP视频(*.3gp)",  // 2407
    "RMVB视频转换为电脑常用WMV视频(*.wmv)",  // 2408
    "RMVB视频转换为网络在线常用FLV视频(*.flv)",  // 2409
    "RMVB视频转换为SWF视频(*.swf)",  // 2410
    "RMVB视频转换为VOB视频(*.vob)",  // 2411
    "RMVB视频转换为DVD视频(*.mpg)",  // 2412
    "RMVB视频转换为SVCD视频(*.mpg)",  // 2413
    "RMVB视频转换为VCD视频(*.mpg)",  // 2414
};
constexpr std::string_view kFormats24[] = {
    "智能手机标准MP4视频(*.mp4)",  // 2500
    "智能手机DivX视频(*.mp4)",  // 2501
    "智能手机Xvid视频(*.mp4)",  // 2502
    "H.264编码高清视频(*.mp4)",  // 2503
    "智能手机高清AVI视频(*.avi)",  // 2504
    "AVI视频-智能手机适用(*.avi)",  // 2505
    "MKV格式视频(*.mkv)",  // 2506
    "手机MOV视频(*.mov)",  // 2507
    "FLV网络格式视频(*.flv)",  // 2508
    "手机3GP视频(*.3gp)",  // 2509
    "WMV格式视频(*.wmv)",  // 2510
    "ASF格式视频(*.asf)",  // 2511
    "MPG格式视频(*.mpg)",  // 2512
    "智能手机支持的MPEG-2视频(*.mpg)",  // 2513
    "智能手机支持的MPEG-4视频(*.mp4)",  // 2514
    "手机MP3格式音频(*.mp3)",  // 2515
};
constexpr std::string_view kFormats25[] = {
    "高清AVI格式视频(*.avi)",  // 2600
    "平板电脑支持的AVI视频(*.avi)",  // 2601
    "平板电脑标准的MP4视频(*.mp4)",  // 2602
    "适用平板电脑的DivX视频(*.mp4)",  // 2603
    "Xvid视频高清(*.mp4)",  // 2604
    "H.264格式高清视频(*.mp4)",  // 2605
    "安卓平板电脑MPEG-2视频(*.mpg)",  // 2606
    "Android平板支持的MPEG-4视频(*.mp4)",  // 2607
    "MKV格式视频(*.mkv)",  // 2608
    "MOV格式视频(*.mov)",  // 2609
    "FLV格式视频(*.flv)",  // 2610
    "平板电脑WMV视频(*.wmv)",  // 2611
    "平板电脑MP3音频(*.mp3)",  // 2612
};
constexpr std::string_view kFormats26[] = {
    "智能电视高清MP4视频(*.mp4)",  // 2700
    "4K高清电视DivX视频(*.mp4)",  // 2701
    "电视高清Xvid视频(*.mp4)",  // 2702
    "H.264编码高清视频(*.mp4)",  // 2703
    "高清智能电视AVI视频(*.avi)",  // 2704
    "4K高清电视AVI视频(*.avi)",  // 2705
    "智能电视适用的MKV视频(*.mkv)",  // 2706
    "高清MOV格式视频(*.mov)",  // 2707
    "FLV网络视频(*.flv)",  // 2708
    "WMV高清视频(*.wmv)",  // 2709
    "高清MPEG视频(*.mpg)",  // 2710
    "MPEG-4超高清视频(*.mp4)",  // 2711
};
constexpr std::string_view kFormats27[] = {
    "高清MPEG-4视频(*.mp4)",  // 2800
    "网络机顶盒标准MP4视频(*.mp4)",  // 2801
    "网络机顶盒高清MP4视频DivX(*.mp4)",  // 2802
    "高清Xvid编码视频(*.mp4)",  // 2803
    "全高清H.264视频(*.mp4)",  // 2804
    "网络机顶盒MPEG-2视频(*.mpg)",  // 2805
    "网络机顶盒适用的AVI视频(*.avi)",  // 2806
    "高清AVI视频-网络机顶盒(*.avi)",  // 2807
    "高清MKV视频(*.mkv)",  // 2808
    "高清MOV视频(*.mov)",  // 2809
    "FLV格式视频(*.flv)",  // 2810
    "WMV高清格式视频(*.wmv)",  // 2811
    "高清晰MPG格式视频(*.mpg)",  // 2812
};

constexpr CategoryRow kCategoryRows[kCategoryCount] = {
    {"常用视频", kFormats0},
    {"常用音频", kFormats1},
    {"HD视频", kFormats2},
    {"iPod视频", kFormats3},
    {"iPhone视频", kFormats4},
    {"PSP视频", kFormats5},
    {"3GP视频", kFormats6},
    {"APPLE视频", kFormats7},
    {"XboX视频", kFormats8},
    {"PMP视频", kFormats9},
    {"MP4视频", kFormats10},
    {"Flash视频", kFormats11},
    {"iPad视频", kFormats12},
    {"MPG视频", kFormats13},
    {"SWF视频", kFormats14},
    {"AVI视频", kFormats15},
    {"MKV视频", kFormats16},
    {"WMV视频", kFormats17},
    {"ASF视频", kFormats18},
    {"Android视频", kFormats19},
    {"VOB视频", kFormats20},
    {"MTS视频", kFormats21},
    {"MOD视频", kFormats22},
    {"RMVB视频", kFormats23},
    {"智能手机", kFormats24},
    {"平板电脑", kFormats25},
    {"智能电视", kFormats26},
    {"网络机顶盒", kFormats27},
};

// Backs a UTF-8 string up to the start of the code point that ends at `end`.
size_t code_point_start(std::string_view text, size_t end) {
    size_t pos = end - 1;
    while (pos > 0 && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) {
        --pos;
    }
    return pos;
}

}  // namespace

std::span<const CategoryRow> categories() { return kCategoryRows; }

std::span<const std::string_view> formats_of(int category) {
    if (category < 0 || category >= kCategoryCount) {
        return {};
    }
    return kCategoryRows[category].formats;
}

int preset_code(int category, int format) { return (category + 1) * 100 + format; }

CatalogueIndex decode_preset_code(int code) {
    const int hundreds = static_cast<int>(std::lround(code / 100.0));
    return {hundreds - 1, code - 100 * hundreds};
}

bool is_preset_code(int code) {
    if (code < 100) {
        return false;
    }
    const int category = code / 100 - 1;
    const int format = code % 100;
    return category < kCategoryCount && format < static_cast<int>(formats_of(category).size());
}

std::optional<std::string_view> format_caption(int code) {
    if (!is_preset_code(code)) {
        return std::nullopt;
    }
    return formats_of(code / 100 - 1)[code % 100];
}

std::string format_extension(std::string_view caption) {
    if (caption.empty()) {
        return {};
    }
    // The caption's characters are code points: step back over the last one, then four more.
    size_t end = code_point_start(caption, caption.size());
    size_t begin = end;
    for (int i = 0; i < 4 && begin > 0; ++i) {
        begin = code_point_start(caption, begin);
    }
    const std::string_view four = caption.substr(begin, end - begin);
    struct Replacement {
        std::string_view four;
        std::string_view extension;
    };
    static constexpr Replacement kReplacements[] = {
        {"lac)", ".alac"}, {"flac", ".flac"}, {"aiff", ".aiff"},
        {"mpeg", ".mpeg"}, {"*.rm", ".rm"},   {"*.ra", ".ra"},
    };
    for (const auto& r : kReplacements) {
        if (four == r.four) {
            return std::string(r.extension);
        }
    }
    return std::string(four);
}

}  // namespace velmora::presets
