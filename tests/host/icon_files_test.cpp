// Checks the generated .ico files of the icon set byte by byte against their pixel maps and
// against what each picture has to show. The files are parsed here, without Windows.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Pixel = std::optional<std::uint32_t>; // RGB; nullopt is transparent (AND mask set)

constexpr std::uint32_t Black = 0x000000, White = 0xFFFFFF, Grey = 0x808080, LightGrey = 0xC0C0C0,
                        Red = 0xFF0000, Green = 0x00FF00, Yellow = 0xFFFF00, Cyan = 0x00FFFF;

const int AllGroups[] = {1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 100, 101, 102, 111, 112, 113, 114};
const std::set<int> TraySizes = {16, 20, 24, 28, 32};

const std::map<std::string, std::uint32_t> VgaColours = {
    {"black", 0x000000},      {"darkred", 0x800000},   {"darkgreen", 0x008000},
    {"darkyellow", 0x808000}, {"darkblue", 0x000080},  {"darkmagenta", 0x800080},
    {"darkcyan", 0x008080},   {"lightgrey", 0xC0C0C0}, {"grey", 0x808080},
    {"red", 0xFF0000},        {"green", 0x00FF00},     {"yellow", 0xFFFF00},
    {"blue", 0x0000FF},       {"magenta", 0xFF00FF},   {"cyan", 0x00FFFF},
    {"white", 0xFFFFFF}};

// One decoded image, rows top to bottom.
struct Image {
    int size = 0;
    bool png = false;
    std::vector<Pixel> pixels;
    Pixel At(int x, int y) const { return pixels[y * size + x]; }
};

unsigned Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return Le16(b, at) | std::uint32_t(Le16(b, at + 2)) << 16;
}

std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

// A PNG image of indexed colour with unfiltered rows, as the generator writes it, of size x
// size; a tRNS entry of 0 makes its colour transparent. False when it is not such an image.
bool DecodePng(const std::vector<std::uint8_t>& b, std::size_t c, std::size_t end, int size,
               Image& image) {
    std::vector<std::uint32_t> palette;
    std::vector<bool> clear;
    std::vector<std::uint8_t> deflated;
    int depth = 0;
    for (c += 8; c + 12 <= end; c += 12 + Be32(b, c)) {
        const std::size_t n = Be32(b, c), data = c + 8;
        const std::string kind(b.begin() + c + 4, b.begin() + data);
        if (kind == "IHDR" && Be32(b, data) == unsigned(size) && b[data + 9] == 3) {
            depth = Be32(b, data + 4) == unsigned(size) ? b[data + 8] : 0;
        }
        for (std::size_t i = 0; kind == "PLTE" && i + 2 < n; i += 3) {
            palette.push_back(b[data + i] << 16 | b[data + i + 1] << 8 | b[data + i + 2]);
        }
        for (std::size_t i = 0; kind == "tRNS" && i < n; ++i) {
            clear.push_back(b[data + i] == 0);
        }
        if (kind == "IDAT") {
            deflated.insert(deflated.end(), b.begin() + data, b.begin() + data + n);
        }
    }
    const std::size_t stride = (size * depth + 7) / 8 + 1; // with the filter byte
    std::vector<std::uint8_t> raw(stride * size);
    uLongf length = raw.size();
    if (depth == 0 || uncompress(raw.data(), &length, deflated.data(), deflated.size()) != Z_OK ||
        length != raw.size()) {
        return false;
    }
    for (int y = 0; y < size * size; ++y) {
        const int bit = y % size * depth;
        const std::size_t index =
            raw[y / size * stride + 1 + bit / 8] >> (8 - depth - bit % 8) & ((1 << depth) - 1);
        if (raw[y / size * stride] != 0 || index >= palette.size()) {
            return false;
        }
        const bool transparent = index < clear.size() && clear[index];
        image.pixels.push_back(transparent ? Pixel() : Pixel(palette[index]));
    }
    return image.png = true;
}

// Reads icon_<group>.ico, checking every header field that Windows relies on for a square
// 16-colour icon: BMP images of 4 bits per pixel, whose transparent pixels are black in the XOR
// bitmap (else they would tint the screen under the mask), or PNG-compressed ones of no more
// than 16 colours.
::testing::AssertionResult LoadIco(int group, std::vector<Image>& images) {
    const fs::path path = fs::path(DECKHAND_ICON_DIR) / ("icon_" + std::to_string(group) + ".ico");
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(in), {}};
    auto fail = [&](const std::string& what) {
        return ::testing::AssertionFailure() << path.string() << ": " << what;
    };
    if (b.size() < 6 || Le16(b, 0) != 0 || Le16(b, 2) != 1 || b.size() < 6 + 16 * Le16(b, 4)) {
        return fail("no icon directory");
    }
    for (unsigned i = 0; i < Le16(b, 4); ++i) {
        const std::size_t e = 6 + 16 * i;
        const int size = b[e] ? b[e] : 256;
        const std::string entry = "entry " + std::to_string(i) + ": ";
        if (b[e + 1] != b[e] || b[e + 2] != 16 || b[e + 3] != 0 || Le16(b, e + 4) != 1 ||
            Le16(b, e + 6) != 4) {
            return fail(entry + "wants square, bColorCount 16, wPlanes 1, wBitCount 4");
        }
        const std::size_t xorStride = (size * 4 + 31) / 32 * 4, andStride = (size + 31) / 32 * 4;
        const std::size_t h = Le32(b, e + 12), length = Le32(b, e + 8);
        if (h > b.size() || b.size() - h < length) {
            return fail(entry + "offset or size beyond the file");
        }
        Image image{size, false, {}};
        if (length >= 8 && b[h] == 0x89) { // the PNG signature's first byte
            if (!DecodePng(b, h, h + length, size, image)) {
                return fail(entry + "not an indexed-colour PNG image of that size");
            }
            images.push_back(std::move(image));
            continue;
        }
        if (length != 40 + 64 + (xorStride + andStride) * size) {
            return fail(entry + "size wrong for a 4-bit BMP image");
        }
        if (Le32(b, h) != 40 || Le32(b, h + 4) != std::uint32_t(size) ||
            Le32(b, h + 8) != std::uint32_t(2 * size) || Le16(b, h + 12) != 1 ||
            Le16(b, h + 14) != 4 || Le32(b, h + 16) != 0 ||
            (Le32(b, h + 32) != 0 && Le32(b, h + 32) != 16)) {
            return fail(entry + "BITMAPINFOHEADER is not a 4-bit BI_RGB one of twice the height");
        }
        const std::size_t xorBits = h + 40 + 64, andBits = xorBits + xorStride * size;
        for (int y = 0; y < size; ++y) {
            const std::size_t row = size - 1 - y; // stored bottom-up
            for (int x = 0; x < size; ++x) {
                const std::uint8_t pair = b[xorBits + row * xorStride + x / 2];
                const std::size_t q = h + 40 + 4 * (x % 2 == 0 ? pair >> 4 : pair & 0x0F);
                const std::uint32_t rgb = b[q + 2] << 16 | b[q + 1] << 8 | b[q]; // BGR0 quads
                const bool masked = b[andBits + row * andStride + x / 8] & (0x80 >> (x % 8));
                if (masked && rgb != Black) {
                    return fail(entry + "a transparent pixel is not black in the XOR bitmap");
                }
                image.pixels.push_back(masked ? Pixel() : Pixel(rgb));
            }
        }
        images.push_back(std::move(image));
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult LoadSize(int group, int size, Image& out) {
    std::vector<Image> images;
    if (auto loaded = LoadIco(group, images); !loaded) {
        return loaded;
    }
    for (const Image& image : images) {
        if (image.size == size) {
            out = image;
            return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure()
           << "icon " << group << " has no " << size << "x" << size << " image";
}

::testing::AssertionResult Load16(int group, Image& out) {
    return LoadSize(group, 16, out);
}

fs::path MapPath(int group, int size) {
    const std::string s = std::to_string(size);
    return fs::path(DECKHAND_ICON_MAP_DIR) /
           ("icon_" + std::to_string(group) + "_" + s + "x" + s + ".txt");
}

// Reads res/icons/icon_<group>_<size>x<size>.txt into rows of pixels.
::testing::AssertionResult ReadMap(int group, int size, std::vector<std::vector<Pixel>>& rows) {
    const fs::path path = MapPath(group, size);
    std::ifstream in(path);
    std::map<char, Pixel> legend;
    std::string line;
    bool inPixels = false;
    while (std::getline(in, line)) {
        line.erase(line.find_last_not_of(" \r") + 1);
        std::istringstream words(line);
        std::string keyword, character, colour;
        words >> keyword >> character >> colour;
        if (line.empty() || line[0] == '#') {
            continue;
        } else if (inPixels) {
            rows.emplace_back();
            for (char c : line) {
                if (legend.count(c) == 0) {
                    return ::testing::AssertionFailure() << path << ": '" << c << "' unknown";
                }
                rows.back().push_back(legend[c]);
            }
        } else if (keyword == "pixels") {
            inPixels = true;
        } else if (keyword == "colour" && colour == "transparent") {
            legend[character[0]] = std::nullopt;
        } else if (keyword == "colour" && VgaColours.count(colour) != 0) {
            legend[character[0]] = VgaColours.at(colour);
        } else {
            return ::testing::AssertionFailure() << path << ": cannot read '" << line << "'";
        }
    }
    if (!inPixels) {
        return ::testing::AssertionFailure() << path << ": no pixels";
    }
    return ::testing::AssertionSuccess();
}

// --- The files ----------------------------------------------------------------------------

// Windows XP reads no PNG image: at 100 % it needs the light 16x16 pictures, and Explorer the
// program's icon at any size.
TEST(IconFiles, EveryGroupHasItsSizesInBothVariantsWithTransparentCorners) {
    for (int group : AllGroups) {
        for (const bool dark : {false, true}) {
            const int id = dark ? group + DECKHAND_DARK_ICON_OFFSET : group;
            SCOPED_TRACE("icon " + std::to_string(id));
            std::vector<Image> images;
            ASSERT_TRUE(LoadIco(id, images));
            std::multiset<int> sizes;
            for (const Image& image : images) {
                sizes.insert(image.size);
                const int last = image.size - 1;
                EXPECT_FALSE(image.At(0, 0) || image.At(last, 0) || image.At(0, last) ||
                             image.At(last, last))
                    << "a corner of the " << image.size << "x" << image.size << " image is opaque";
                EXPECT_FALSE(image.png && !dark && (image.size == 16 || group == 1))
                    << image.size << "x" << image.size;
                const std::set<Pixel> colours(image.pixels.begin(), image.pixels.end());
                EXPECT_LE(colours.size() - colours.count(std::nullopt), 16u);
            }
            std::multiset<int> expected(TraySizes.begin(), TraySizes.end());
            if (group == 1 && !dark) {
                expected.insert(48);
            }
            EXPECT_EQ(sizes, expected);
        }
    }
}

// WCAG 2's contrast ratio of two colours.
double Contrast(std::uint32_t a, std::uint32_t b) {
    auto luminance = [](std::uint32_t rgb) {
        double sum = 0;
        for (const auto& [shift, weight] : {std::pair{16, 0.2126}, {8, 0.7152}, {0, 0.0722}}) {
            const double c = (rgb >> shift & 0xFF) / 255.0;
            sum += weight * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double la = luminance(a) + 0.05, lb = luminance(b) + 0.05;
    return la > lb ? la / lb : lb / la;
}

// The dark taskbar's variant: what is black in the light one (the word on top, at least) reads
// on a dark taskbar's #202020 (WCAG's 4.5:1 for text), and nothing else differs.
TEST(IconFiles, DarkVariantLightensOnlyWhatIsBlack) {
    constexpr std::uint32_t DarkTaskbar = 0x202020;
    for (int group : AllGroups) {
        for (int size : TraySizes) {
            SCOPED_TRACE("icon " + std::to_string(group) + " at " + std::to_string(size));
            Image light, dark;
            ASSERT_TRUE(LoadSize(group, size, light));
            ASSERT_TRUE(LoadSize(group + DECKHAND_DARK_ICON_OFFSET, size, dark));
            for (std::size_t i = 0; i < light.pixels.size(); ++i) {
                if (light.pixels[i] == Black) {
                    ASSERT_TRUE(dark.pixels[i]);
                    EXPECT_GE(Contrast(*dark.pixels[i], DarkTaskbar), 4.5);
                } else {
                    ASSERT_EQ(dark.pixels[i], light.pixels[i]) << "pixel " << i;
                }
            }
            EXPECT_GE(std::count(light.pixels.begin(), light.pixels.begin() + size, Black), 4)
                << "the top row carries the word, black";
        }
    }
}

// Where an image has a pixel map (the 16x16 ones and the program's 32x32 and 48x48), the AND
// mask is set exactly where the map is transparent, and every opaque pixel has the map's colour.
TEST(IconFiles, EveryImageMatchesItsPixelMap) {
    for (int group : AllGroups) {
        std::vector<Image> images;
        ASSERT_TRUE(LoadIco(group, images));
        for (const Image& image : images) {
            SCOPED_TRACE("icon " + std::to_string(group) + " at " + std::to_string(image.size));
            if (image.size != 16 && !fs::exists(MapPath(group, image.size))) {
                continue; // drawn by the generator
            }
            std::vector<std::vector<Pixel>> map;
            ASSERT_TRUE(ReadMap(group, image.size, map));
            ASSERT_EQ(map.size(), static_cast<std::size_t>(image.size));
            int mismatches = 0;
            for (int y = 0; y < image.size; ++y) {
                ASSERT_EQ(map[y].size(), static_cast<std::size_t>(image.size)) << "row " << y;
                for (int x = 0; x < image.size; ++x) {
                    if (image.At(x, y) != map[y][x] && ++mismatches <= 3) {
                        ADD_FAILURE() << "pixel (" << x << ", " << y << ") differs from the map";
                    }
                }
            }
            EXPECT_EQ(mismatches, 0);
        }
    }
}

// --- The pictures -------------------------------------------------------------------------

// Rows 0 to 4 of every 16x16 image: the model word, black on transparent, the same in all;
// nothing drawn below it touches a letter.
TEST(IconPictures, TopFiveRowsCarryTheSameBlackModelWord) {
    Image first;
    ASSERT_TRUE(Load16(1, first));
    for (int group : AllGroups) {
        SCOPED_TRACE("icon " + std::to_string(group));
        Image image;
        ASSERT_TRUE(Load16(group, image));
        for (int y = 0; y < 5; ++y) {
            int letters = 0;
            for (int x = 0; x < 16; ++x) {
                EXPECT_EQ(image.At(x, y), first.At(x, y)) << "(" << x << ", " << y << ")";
                EXPECT_TRUE(!image.At(x, y) || image.At(x, y) == Black);
                letters += image.At(x, y) == Black;
            }
            EXPECT_GE(letters, 4) << "row " << y;
        }
        for (int x = 0; x < 16; ++x) {
            for (int nx = std::max(x - 1, 0); image.At(x, 5) && nx <= std::min(x + 1, 15); ++nx) {
                EXPECT_FALSE(image.At(nx, 4)) << "(" << x << ", 5) touches a letter";
            }
        }
    }
}

TEST(IconPictures, EachPictureUsesItsColours) {
    struct ColourCase {
        int group;
        std::set<std::uint32_t> colours; // below the word
        Pixel leftBar;                   // column 0, rows 6 to 14
    };
    const ColourCase cases[] = {
        {1, {Grey, LightGrey}, Grey}, {100, {Grey, Red}, Grey},  {101, {Cyan, Grey}, Cyan},
        {102, {Grey, Red}, Grey},     {111, {Black, White}, {}}, {112, {Black}, {}},
        {113, {Green}, {}},           {114, {Green}, {}},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE("icon " + std::to_string(c.group));
        Image image;
        ASSERT_TRUE(Load16(c.group, image));
        std::set<std::uint32_t> used;
        for (int i = 5 * 16; i < 16 * 16; ++i) {
            if (image.pixels[i]) {
                used.insert(*image.pixels[i]);
            }
        }
        EXPECT_EQ(used, c.colours);
        for (int y = 6; c.leftBar && y < 15; ++y) {
            EXPECT_EQ(image.At(0, y), c.leftBar) << "bar at row " << y;
        }
    }
}

// Icons 1, 101 and 102 are one shape in different colours: the bar cyan only when on, the
// power symbol red only when off. Icon 100's red cross spans the whole picture height.
TEST(IconPictures, OnOffMotifsShareOneShape) {
    Image plain, on, off, unreachable;
    ASSERT_TRUE(Load16(1, plain) && Load16(101, on) && Load16(102, off) &&
                Load16(100, unreachable));
    std::set<int> redRows;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            SCOPED_TRACE("(" + std::to_string(x) + ", " + std::to_string(y) + ")");
            EXPECT_EQ(on.At(x, y).has_value(), off.At(x, y).has_value());
            EXPECT_EQ(on.At(x, y).has_value(), plain.At(x, y).has_value());
            EXPECT_EQ(on.At(x, y) == Cyan, x < 2 && y >= 6 && off.At(x, y) == Grey);
            if (off.At(x, y) == Red) {
                EXPECT_EQ(on.At(x, y), Grey);
            }
            if (unreachable.At(x, y) == Red) {
                redRows.insert(y);
            } else if (unreachable.At(x, y)) {
                EXPECT_TRUE(on.At(x, y)) << "icon 100's grey is the motif";
            }
        }
    }
    EXPECT_EQ(redRows, (std::set<int>{6, 7, 8, 9, 10, 11, 12, 13, 14}));
}

// Opaque pixels per column below the word, reading left to right or right to left.
std::vector<int> ColumnHeights(const Image& image, bool rightToLeft) {
    std::vector<int> heights;
    for (int i = 0; i < 16; ++i) {
        const int x = rightToLeft ? 15 - i : i;
        int h = 0;
        for (int y = 5; y < 16; ++y) {
            h += image.At(x, y).has_value();
        }
        if (h > 0 || !heights.empty()) { // skip the empty margin
            heights.push_back(h);
        }
    }
    return heights;
}

TEST(IconPictures, TransportSymbolsPointTheRightWay) {
    // Read in the given direction, each triangle is a ramp of columns rising to full height,
    // i.e. it points back against the reading direction.
    struct ShapeCase {
        int group;
        bool rightToLeft;
        int barColumns; // full-height columns first, then one empty column
        int triangles;
    };
    const ShapeCase cases[] = {
        {112, true, 0, 1},  // a triangle pointing right
        {113, false, 2, 2}, // a bar, then two triangles pointing left
        {114, true, 2, 2},  // two triangles pointing right, then a bar
    };
    for (const ShapeCase& c : cases) {
        SCOPED_TRACE("icon " + std::to_string(c.group));
        Image image;
        ASSERT_TRUE(Load16(c.group, image));
        const std::vector<int> heights = ColumnHeights(image, c.rightToLeft);
        const int tallest = *std::max_element(heights.begin(), heights.end());
        EXPECT_GE(tallest, 9);
        std::size_t i = 0;
        for (; i < static_cast<std::size_t>(c.barColumns); ++i) {
            EXPECT_EQ(heights[i], tallest) << "bar column " << i;
        }
        if (c.barColumns > 0) {
            EXPECT_EQ(heights[i++], 0) << "a gap after the bar";
        }
        int triangles = 0;
        while (i < heights.size() && heights[i] > 0) {
            const std::size_t start = i;
            while (i + 1 < heights.size() && heights[i + 1] > heights[i]) {
                ++i;
            }
            EXPECT_GE(i - start, 3u) << "triangle " << triangles << " is a ramp";
            EXPECT_EQ(heights[i++], tallest) << "triangle " << triangles << " ends full height";
            ++triangles;
        }
        EXPECT_EQ(triangles, c.triangles);
        EXPECT_TRUE(std::all_of(heights.begin() + i, heights.end(), [](int h) { return !h; }));
    }
}

// --- The volume staircase -----------------------------------------------------------------

struct Bar {
    int height;
    std::uint32_t colour;
};

// The bars below the word, left to right: separate columns of one colour each, standing on
// the lowest row drawn on.
::testing::AssertionResult ReadBars(const Image& image, std::vector<Bar>& bars) {
    int baseline = 15;
    while (baseline > 5 && std::none_of(image.pixels.begin() + baseline * 16,
                                        image.pixels.begin() + baseline * 16 + 16,
                                        [](Pixel p) { return p.has_value(); })) {
        --baseline;
    }
    for (int x = 0; x < 16; ++x) {
        int y = baseline;
        for (; y >= 5 && image.At(x, y); --y) {
            if (image.At(x, y) != image.At(x, baseline)) {
                return ::testing::AssertionFailure() << "column " << x << " has two colours";
            }
        }
        for (int above = y; above >= 5; --above) {
            if (image.At(x, above)) {
                return ::testing::AssertionFailure() << "column " << x << " has a loose pixel";
            }
        }
        if (y == baseline) {
            continue;
        }
        if (x > 0 && image.At(x - 1, baseline)) {
            return ::testing::AssertionFailure() << "bars touch at column " << x;
        }
        bars.push_back({baseline - y, *image.At(x, baseline)});
    }
    return ::testing::AssertionSuccess();
}

TEST(VolumeIcons, LightTheRightNumberOfBars) {
    const std::uint32_t litColours[7] = {Cyan, Cyan, Green, Green, Yellow, Yellow, Red};
    struct VolumeCase {
        int group;
        int lit;
        bool allRed;
    };
    const VolumeCase cases[] = {
        {10, 0, false}, {11, 1, false}, {12, 2, false}, {13, 3, false}, {14, 4, false},
        {15, 5, false}, {16, 6, false}, {17, 7, false}, {18, 7, true},
    };
    for (const VolumeCase& c : cases) {
        SCOPED_TRACE("icon " + std::to_string(c.group));
        Image image;
        ASSERT_TRUE(Load16(c.group, image));
        std::vector<Bar> bars;
        ASSERT_TRUE(ReadBars(image, bars));
        ASSERT_EQ(bars.size(), 7u);
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(bars[i].height, i + 1) << "bar " << i;
            const std::uint32_t expected = c.allRed ? Red : i < c.lit ? litColours[i] : Grey;
            EXPECT_EQ(bars[i].colour, expected) << "bar " << i;
        }
    }
}

// --- The generator's own checks -----------------------------------------------------------

std::string Rows(int count, const std::string& row = std::string(16, '.')) {
    std::string rows;
    for (int i = 0; i < count; ++i) {
        rows += row + "\n";
    }
    return rows;
}

TEST(IconGenerator, RejectsBadMapsWithAClearMessage) {
    const std::string head = "colour . transparent\ncolour K black\npixels\n";
    std::string seventeen = "colour . transparent\n"; // the 16 VGA colours and one more
    const std::string chars = "0123456789abcdefg";
    int next = 0;
    for (const auto& [name, rgb] : VgaColours) {
        seventeen += std::string("colour ") + chars[next++] + " " + name + "\n";
    }
    seventeen += "colour g #123456\npixels\n" + chars.substr(0, 16) + "\n" +
                 Rows(15, "g" + std::string(15, '.'));
    struct BadMapCase {
        const char* fileName;
        std::string text;
        const char* message; // part of what the generator must print
    };
    const BadMapCase cases[] = {
        {"icon_5_16x16.txt", head + Rows(15), "15 pixel rows, the file name says 16"},
        {"icon_5_16x16.txt", head + Rows(15) + Rows(1, std::string(17, '.')),
         "row 15 is 17 pixels wide"},
        {"icon_5_16x16.txt", head + Rows(3) + Rows(1, "....X..........K") + Rows(12),
         "unknown character 'X' at row 3, column 4"},
        {"icon_5_16x16.txt", "colour o orange\npixels\n", "unknown colour 'orange'"},
        {"icon_5_16x16.txt", seventeen, "more than a 16-colour image can hold"},
        {"five.txt", head + Rows(16), "icon_<id>_<width>x<height>.txt"},
        {"icon_5_16x16.txt", "colour . transparent\n", "no 'pixels' line"},
    };
    const fs::path dir =
        fs::temp_directory_path() / ("deckhand_icongen_test_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const BadMapCase& c : cases) {
        SCOPED_TRACE(c.message);
        const fs::path map = dir / c.fileName;
        std::ofstream(map) << c.text;
        const std::string command = std::string("\"") + DECKHAND_PYTHON + "\" \"" +
                                    DECKHAND_ICONGEN + "\" -o \"" + (dir / "out").string() +
                                    "\" \"" + map.string() + "\" 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[256];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, n);
        }
        EXPECT_NE(pclose(pipe), 0) << "the generator accepted the map";
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
        EXPECT_EQ(output.find("Traceback"), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(dir / "out" / "icon_5.ico"));
        fs::remove(map);
    }
    fs::remove_all(dir);
}

} // namespace
