// The pictures as the packages and the page ship them: every X.bmp stored
// as X.bmp.png (the game reads it in place of a missing X.bmp), written
// and read back through libpng.
//
// The game turns every picture into 16-bit 5-6-5 pixels as it loads it, so
// the bits it drops (the low three of red and blue, two of green) are
// dropped here already: the picture drawn is the same and the file far
// smaller. A picture of at most 256 colours is also tried with a palette;
// each form is written with every row filter choice and the smallest file
// is kept.
#include <png.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core.h"

namespace qsassets {

namespace {

// A picture as packed: RGB rows, top first, already cut to 5-6-5.
struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
};

bool load_reduced(const std::string& path, Picture& p) {
    std::vector<uint8_t> bgr;
    if (!read_bmp(path, p.w, p.h, bgr)) return false;
    p.rgb.resize(bgr.size());
    for (size_t i = 0; i < bgr.size(); i += 3) {
        p.rgb[i] = bgr[i + 2] & 0xF8;
        p.rgb[i + 1] = bgr[i + 1] & 0xFC;
        p.rgb[i + 2] = bgr[i] & 0xF8;
    }
    return true;
}

uint32_t rgb_at(const Picture& p, size_t i) {
    return (uint32_t)p.rgb[i * 3] << 16 | (uint32_t)p.rgb[i * 3 + 1] << 8 | p.rgb[i * 3 + 2];
}

void append_bytes(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void no_flush(png_structp) {}

// The rows to hand libpng: RGB, or palette indices (one byte each; libpng
// packs them to the bit depth).
struct Encoding {
    int colorType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    std::vector<png_color> palette;
    std::vector<uint8_t> rows;
    size_t rowBytes = 0;
};

Encoding rgb_encoding(const Picture& p) {
    Encoding e;
    e.rows = p.rgb;
    e.rowBytes = (size_t)p.w * 3;
    return e;
}

// The palette form, when the picture has at most 256 colours.
bool palette_encoding(const Picture& p, Encoding& e) {
    size_t n = (size_t)p.w * p.h;
    std::map<uint32_t, int> colours;
    for (size_t i = 0; i < n; ++i) {
        colours.emplace(rgb_at(p, i), 0);
        if (colours.size() > 256) return false;
    }
    e.colorType = PNG_COLOR_TYPE_PALETTE;
    size_t k = colours.size();
    e.depth = k <= 2 ? 1 : k <= 4 ? 2 : k <= 16 ? 4 : 8;
    int index = 0;
    for (auto& c : colours) {
        c.second = index++;
        e.palette.push_back({(png_byte)(c.first >> 16), (png_byte)(c.first >> 8), (png_byte)c.first});
    }
    e.rows.resize(n);
    for (size_t i = 0; i < n; ++i) e.rows[i] = (uint8_t)colours[rgb_at(p, i)];
    e.rowBytes = (size_t)p.w;
    return true;
}

bool encode(const Picture& p, const Encoding& e, int filters, std::vector<uint8_t>& out) {
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_bytep> rows((size_t)p.h);
    for (int y = 0; y < p.h; ++y) rows[(size_t)y] = const_cast<png_bytep>(&e.rows[(size_t)y * e.rowBytes]);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, append_bytes, no_flush);
    png_set_compression_level(png, 9);
    // All the compressed data in one IDAT chunk: each extra chunk costs 12 bytes.
    png_set_compression_buffer_size(png, 1u << 24);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
    png_set_IHDR(png, info, (png_uint_32)p.w, (png_uint_32)p.h, e.depth, e.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    if (!e.palette.empty())
        png_set_PLTE(png, info, const_cast<png_colorp>(e.palette.data()), (int)e.palette.size());
    png_write_info(png, info);
    if (e.depth < 8) png_set_packing(png);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string tmp = path + ".tmp";
    FILE* fp = std::fopen(tmp.c_str(), "wb");
    if (!fp) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), fp) == bytes.size();
    ok = std::fclose(fp) == 0 && ok;
    if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(tmp.c_str());
    return ok;
}

bool decode(const std::string& path, Picture& p) {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str())) return false;
    img.format = PNG_FORMAT_RGB;
    p.w = (int)img.width;
    p.h = (int)img.height;
    p.rgb.assign(PNG_IMAGE_SIZE(img), 0);
    if (!png_image_finish_read(&img, nullptr, p.rgb.data(), 0, nullptr)) {
        png_image_free(&img);
        return false;
    }
    return true;
}

bool is_bmp_name(const std::string& name) {
    if (name.size() < 5) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return (char)std::tolower(c); });
    return ext == ".bmp";
}

bool bmp_names(const std::string& dir, std::vector<std::string>& names) {
    DIR* d = opendir(dir.c_str());
    if (!d) return false;
    while (dirent* e = readdir(d))
        if (is_bmp_name(e->d_name)) names.push_back(e->d_name);
    closedir(d);
    std::sort(names.begin(), names.end());
    return true;
}

bool newer_or_same(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 &&
           (sa.st_mtim.tv_sec > sb.st_mtim.tv_sec ||
            (sa.st_mtim.tv_sec == sb.st_mtim.tv_sec && sa.st_mtim.tv_nsec >= sb.st_mtim.tv_nsec));
}

}  // namespace

bool make_png_copies(const std::string& src, const std::string& out) {
    std::vector<std::string> names;
    if (!bmp_names(src, names)) {
        std::fprintf(stderr, "assetgen: cannot read the folder %s\n", src.c_str());
        return false;
    }
    if (!make_dirs_for(out + "/")) {
        std::fprintf(stderr, "assetgen: cannot make %s\n", out.c_str());
        return false;
    }
    static const int kFilters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG,
                                   PNG_FILTER_PAETH, PNG_ALL_FILTERS};
    bool ok = true;
    for (const std::string& name : names) {
        std::string from = src + "/" + name, to = out + "/" + name + ".png";
        if (newer_or_same(to, from)) continue;
        Picture p;
        if (!load_reduced(from, p)) {
            std::fprintf(stderr, "assetgen: %s is not a 24-bit BMP picture of ours\n", from.c_str());
            ok = false;
            continue;
        }
        std::vector<Encoding> forms{rgb_encoding(p)};
        Encoding pal;
        if (palette_encoding(p, pal)) forms.push_back(std::move(pal));
        std::vector<uint8_t> best, bytes;
        for (const Encoding& e : forms)
            for (int f : kFilters)
                if (encode(p, e, f, bytes) && (best.empty() || bytes.size() < best.size())) best.swap(bytes);
        if (best.empty() || !write_file(to, best)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", to.c_str());
            ok = false;
        }
    }
    return ok;
}

bool check_png_copies(const std::string& src, const std::string& pngDir) {
    std::vector<std::string> names;
    if (!bmp_names(src, names) || names.empty()) {
        std::fprintf(stderr, "assetgen: no BMP pictures in %s\n", src.c_str());
        return false;
    }
    int bad = 0;
    for (const std::string& name : names) {
        Picture want, got;
        std::string png = pngDir + "/" + name + ".png";
        if (!load_reduced(src + "/" + name, want)) {
            std::fprintf(stderr, "FAIL: %s/%s is not a BMP picture of ours\n", src.c_str(), name.c_str());
            ++bad;
        } else if (!decode(png, got)) {
            std::fprintf(stderr, "FAIL: %s is missing or not a PNG file\n", png.c_str());
            ++bad;
        } else if (got.w != want.w || got.h != want.h || got.rgb != want.rgb) {
            std::fprintf(stderr, "FAIL: %s does not hold the 5-6-5 pixels of %s\n", png.c_str(), name.c_str());
            ++bad;
        }
    }
    std::printf("%s: %zu pictures, %d not as their BMP files\n", pngDir.c_str(), names.size(), bad);
    return bad == 0;
}

}  // namespace qsassets
