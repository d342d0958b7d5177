// The usage notes shown in the zoom view at start: five lines of small black text on the zoom
// view's own grey, with little pictures of the dropper and the magnifier standing in the text.

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

#include "tools/assetgen/assets.h"

namespace pigmora::assetgen {

namespace {

struct Glyph {
    std::string_view text;
    int advance;
    std::vector<std::string_view> rows;
};

const std::vector<Glyph> kGlyphs{
#include "tools/assetgen/help_glyphs.inc"
};

enum class Tool { None, Dropper, Magnifier };

// A run of text, or one tool picture.
struct Piece {
    std::string_view text;
    Tool tool = Tool::None;
};

const std::vector<std::vector<Piece>> kLines{
    {{"屏幕取色功能说明:"}},
    {{"1.在"}, {"", Tool::Dropper}, {"处按下鼠标左键,然后移动到目标上取色."}},
    {{"2.完成后松开鼠标,颜色会自动加入左边历史记录."}},
    {{"3.在"}, {"", Tool::Magnifier}, {"处按下鼠标,然后移动到目标上可放大内容."}},
    {{"4.完成后松开鼠标"}},
};

constexpr int kWidth = 291;
constexpr int kHeight = 114;
constexpr Colour kGround{248, 246, 246};
constexpr Colour kInk{0, 0, 0};
constexpr int kLeft = 7;         // where each line's ink begins
constexpr int kFirstInkTop = 7;  // top row of the first line's glyphs
constexpr int kInkRows = 11;     // rows the first line's glyphs span
constexpr int kLinePitch = 24;
constexpr int kToolGap = 3;  // space on either side of a tool picture
constexpr int kToolWidth = 12;

// The glyphs of a text, one per UTF-8 character; nullptr for a character that has none.
std::vector<const Glyph*> GlyphsOf(std::string_view text) {
    std::vector<const Glyph*> glyphs;
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string_view ch = text.substr(at, n);
        const Glyph* found = nullptr;
        for (const Glyph& g : kGlyphs) {
            if (g.text == ch) found = &g;
        }
        glyphs.push_back(found);
        at += n;
    }
    return glyphs;
}

struct InkRange {
    int first = 1 << 30;
    int last = -1;
};

// Which rows (or columns) of the glyph box hold ink.
InkRange RowsWithInk(const Glyph& g) {
    InkRange range;
    for (int r = 0; r < static_cast<int>(g.rows.size()); ++r) {
        if (g.rows[r].find('#') != std::string_view::npos) {
            range.first = std::min(range.first, r);
            range.last = std::max(range.last, r);
        }
    }
    return range;
}

int FirstInkColumn(const Glyph& g) {
    int first = 1 << 30;
    for (std::string_view row : g.rows) {
        const std::size_t at = row.find('#');
        if (at != std::string_view::npos) first = std::min(first, static_cast<int>(at));
    }
    return first;
}

}  // namespace

File HelpImage() {
    // Glyph box row that lands on the first line's top ink row: every line uses the same, so
    // all lines share one baseline offset.
    InkRange firstLine;
    for (const Glyph* g : GlyphsOf(kLines[0][0].text)) {
        if (!g) return {};
        const InkRange r = RowsWithInk(*g);
        firstLine.first = std::min(firstLine.first, r.first);
        firstLine.last = std::max(firstLine.last, r.last);
    }
    if (firstLine.last - firstLine.first + 1 != kInkRows) {
        std::fprintf(stderr, "help glyphs span %d rows, not %d\n",
                     firstLine.last - firstLine.first + 1, kInkRows);
        return {};
    }

    Canvas canvas(kWidth, kHeight, kGround);
    for (std::size_t line = 0; line < kLines.size(); ++line) {
        const int inkTop = kFirstInkTop + kLinePitch * static_cast<int>(line);
        const int boxTop = inkTop - firstLine.first;
        int pen = kLeft;
        bool firstGlyph = true;
        for (const Piece& piece : kLines[line]) {
            if (piece.tool == Tool::Dropper) {
                DrawDropper(canvas, {pen + kToolGap + 1.0, inkTop + 11.0}, 0.5, kHelpTool);
            } else if (piece.tool == Tool::Magnifier) {
                DrawMagnifier(canvas, {pen + kToolGap + 4.5, inkTop + 4.5}, 0.55, kHelpTool);
            }
            if (piece.tool != Tool::None) {
                pen += kToolGap + kToolWidth + kToolGap;
                continue;
            }
            for (const Glyph* g : GlyphsOf(piece.text)) {
                if (!g) return {};
                if (firstGlyph) pen -= FirstInkColumn(*g);
                firstGlyph = false;
                for (int r = 0; r < static_cast<int>(g->rows.size()); ++r) {
                    for (int c = 0; c < static_cast<int>(g->rows[r].size()); ++c) {
                        if (g->rows[r][c] != '#') continue;
                        const int x = pen + c, y = boxTop + r;
                        if (x >= kWidth || y >= kHeight) {
                            std::fprintf(stderr, "help line %zu does not fit\n", line + 1);
                            return {};
                        }
                        canvas.Set(x, y, kInk);
                    }
                }
                pen += g->advance;
            }
        }
    }
    return canvas.ToBmp24();
}

}  // namespace pigmora::assetgen
