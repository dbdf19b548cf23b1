#include "preview/snapshot_writer.h"

#include <QImage>
#include <QImageWriter>
#include <QString>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include <gif_lib.h>
#include <libimagequant.h>

namespace velmora::preview {
namespace {

void put_le(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

std::string write_bmp(const RgbImage& image, const std::string& path) {
    const uint32_t line_bytes = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t pixel_bytes = line_bytes * static_cast<uint32_t>(image.height);
    std::string file;
    file.reserve(54 + pixel_bytes);
    file += "BM";
    put_le(file, 54 + pixel_bytes, 4);
    put_le(file, 0, 4);
    put_le(file, 54, 4);
    put_le(file, 40, 4);  // BITMAPINFOHEADER
    put_le(file, static_cast<uint32_t>(image.width), 4);
    put_le(file, static_cast<uint32_t>(image.height), 4);  // positive: bottom line first
    put_le(file, 1, 2);
    put_le(file, 24, 2);
    put_le(file, 0, 4);  // BI_RGB, no compression
    put_le(file, pixel_bytes, 4);
    put_le(file, 2835, 4);  // 72 dpi
    put_le(file, 2835, 4);
    put_le(file, 0, 4);
    put_le(file, 0, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* line = image.rgb.data() + static_cast<size_t>(y) * image.width * 3;
        for (int x = 0; x < image.width; ++x) {
            file.push_back(static_cast<char>(line[x * 3 + 2]));  // BMP stores blue, green, red
            file.push_back(static_cast<char>(line[x * 3 + 1]));
            file.push_back(static_cast<char>(line[x * 3 + 0]));
        }
        file.append(line_bytes - static_cast<uint32_t>(image.width) * 3, '\0');
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
    out.close();
    return out ? std::string() : "无法写入文件：" + path;
}

std::string write_with_qt(const RgbImage& image, const char* format, int quality,
                          const std::string& path) {
    const QImage view(image.rgb.data(), image.width, image.height, image.width * 3,
                      QImage::Format_RGB888);
    QImageWriter writer(QString::fromStdString(path), format);
    if (quality >= 0) {
        writer.setQuality(quality);
    }
    writer.setOptimizedWrite(false);
    writer.setProgressiveScanWrite(false);
    if (!writer.write(view)) {
        return "无法写入文件：" + path + "（" + writer.errorString().toStdString() + "）";
    }
    return {};
}

struct LiqAttrDeleter {
    void operator()(liq_attr* a) const { liq_attr_destroy(a); }
};
struct LiqImageDeleter {
    void operator()(liq_image* i) const { liq_image_destroy(i); }
};
struct LiqResultDeleter {
    void operator()(liq_result* r) const { liq_result_destroy(r); }
};

std::string write_gif(const RgbImage& image, const std::string& path) {
    // libimagequant wants RGBA; every pixel is opaque.
    const size_t pixels = static_cast<size_t>(image.width) * image.height;
    std::vector<uint8_t> rgba(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        std::memcpy(&rgba[i * 4], &image.rgb[i * 3], 3);
        rgba[i * 4 + 3] = 255;
    }
    std::unique_ptr<liq_attr, LiqAttrDeleter> attr(liq_attr_create());
    liq_set_max_colors(attr.get(), 256);
    liq_set_speed(attr.get(), 4);
    std::unique_ptr<liq_image, LiqImageDeleter> liq_img(
        liq_image_create_rgba(attr.get(), rgba.data(), image.width, image.height, 0));
    liq_result* raw_result = nullptr;
    if (!liq_img || liq_image_quantize(liq_img.get(), attr.get(), &raw_result) != LIQ_OK) {
        return "无法生成GIF调色板：" + path;
    }
    std::unique_ptr<liq_result, LiqResultDeleter> result(raw_result);
    liq_set_dithering_level(result.get(), 1.0f);
    std::vector<uint8_t> indices(pixels);
    liq_write_remapped_image(result.get(), liq_img.get(), indices.data(), indices.size());
    const liq_palette* palette = liq_get_palette(result.get());

    // A GIF colour map has a power-of-two size.
    int map_size = 2;
    while (map_size < static_cast<int>(palette->count)) {
        map_size *= 2;
    }
    std::vector<GifColorType> colors(static_cast<size_t>(map_size), GifColorType{0, 0, 0});
    for (unsigned i = 0; i < palette->count; ++i) {
        colors[i] =
            GifColorType{palette->entries[i].r, palette->entries[i].g, palette->entries[i].b};
    }

    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif) {
        return "无法写入文件：" + path + "（" + GifErrorString(error) + "）";
    }
    ColorMapObject* map = GifMakeMapObject(map_size, colors.data());
    bool ok = map && EGifPutScreenDesc(gif, image.width, image.height, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height; ++y) {
        ok = EGifPutLine(gif, indices.data() + static_cast<size_t>(y) * image.width, image.width) ==
             GIF_OK;
    }
    const int put_error = gif->Error;
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK) {
        ok = false;
    }
    if (!ok) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        return "无法写入文件：" + path + "（" + GifErrorString(put_error ? put_error : error) +
               "）";
    }
    return {};
}

}  // namespace

std::optional<PictureType> picture_type_from_setting(std::string_view value) {
    if (value == "BMP")
        return PictureType::BMP;
    if (value == "JPG")
        return PictureType::JPG;
    if (value == "GIF")
        return PictureType::GIF;
    if (value == "PNG")
        return PictureType::PNG;
    return std::nullopt;
}

std::string_view picture_type_setting(PictureType type) {
    switch (type) {
        case PictureType::BMP:
            return "BMP";
        case PictureType::JPG:
            return "JPG";
        case PictureType::GIF:
            return "GIF";
        case PictureType::PNG:
            return "PNG";
    }
    return "BMP";
}

std::string_view picture_extension(PictureType type) {
    switch (type) {
        case PictureType::BMP:
            return ".bmp";
        case PictureType::JPG:
            return ".jpg";
        case PictureType::GIF:
            return ".gif";
        case PictureType::PNG:
            return ".png";
    }
    return ".bmp";
}

std::string next_snapshot_path(const std::string& folder, const std::string& base,
                               std::string_view extension,
                               const std::function<bool(const std::string&)>& exists) {
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    for (int n = 1;; ++n) {
        std::string candidate =
            folder + separator + base + "_" + std::to_string(n) + std::string(extension);
        if (!exists(candidate)) {
            return candidate;
        }
    }
}

std::string snapshot_base_name(const std::string& input_path) {
    const std::string name = std::filesystem::path(input_path).filename().string();
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string write_picture(const RgbImage& image, PictureType type, const std::string& path) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() < static_cast<size_t>(image.width) * image.height * 3) {
        return "没有可保存的画面";
    }
    switch (type) {
        case PictureType::BMP:
            return write_bmp(image, path);
        case PictureType::JPG:
            return write_with_qt(image, "jpeg", 90, path);
        case PictureType::PNG:
            return write_with_qt(image, "png", -1, path);
        case PictureType::GIF:
            return write_gif(image, path);
    }
    return "未知的图片类型";
}

}  // namespace velmora::preview
