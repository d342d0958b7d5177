// The copy buttons put their own row's text on the clipboard; the donation label opens the
// donation page through the shell.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <set>

#include "harness.h"
#include "pattern.h"
#include "readout_view.h"
#include "recorder.h"
#include "ui/copy_buttons.h"

namespace e2e {
namespace {

using enum pigmora::Control;

constexpr RECT kPatternArea{40, 40, 440, 190};
constexpr char kBefore[] = "(before the copy)";

struct Row {
    Control button, box;
    std::string pigmora::ColorTexts::*rendering;
};
// Top to bottom; the button numbers do not follow the rows.
const Row kRows[] = {
    {取色_按钮5, 取色_HTML, &pigmora::ColorTexts::html},
    {取色_按钮1, 取色_10进制, &pigmora::ColorTexts::decimal},
    {取色_按钮2, 取色_16进制, &pigmora::ColorTexts::hexadecimal},
    {取色_按钮3, 取色_RGB, &pigmora::ColorTexts::rgb},
    {取色_按钮4, 取色_HSL, &pigmora::ColorTexts::hsl},
    {取色_按钮6, 取色_VB, &pigmora::ColorTexts::vb},
    {取色_按钮7, 取色_C, &pigmora::ColorTexts::c},
    {取色_按钮8, 取色_Delphi, &pigmora::ColorTexts::delphi},
};

std::optional<std::string> Copy(const Pigmora& app, Control button) {
    return CopyWith(app, button, kBefore);
}

std::set<UINT> ClipboardFormats() {
    std::set<UINT> formats;
    pigmora::win32::ClipboardSession clipboard(nullptr);
    if (!clipboard.is_open()) return formats;
    for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) formats.insert(f);
    return formats;
}

// The bytes of the CF_TEXT block up to and with its first zero.
std::string ClipboardBytes() {
    std::string bytes;
    pigmora::win32::ClipboardSession clipboard(nullptr);
    if (!clipboard.is_open()) return bytes;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        pigmora::win32::GlobalLockGuard locked(data);
        const char* text = static_cast<const char*>(locked.get());
        const std::size_t size = GlobalSize(data);
        if (text) bytes.assign(text, std::find(text, text + size, '\0') + (size ? 1 : 0));
    }
    return bytes;
}

TEST(CopyTest, EachButtonCopiesItsOwnRowAsText) {
    TestPattern pattern(kPatternArea);
    Pigmora app;
    // (0,128,255) gives eight different texts.
    HoverDropperBox(app);
    BeginDrag(app);
    const pigmora::ColorTexts shown = TextsOf(pattern.ColourOf(3));
    ASSERT_TRUE(GlideAndWait(
        pattern.CentreOf(3), [&] { return ShownTexts(app) == shown; }, 8))
        << Describe(ShownTexts(app));
    ReleaseLeft();

    for (const Row& row : kRows) {
        const std::string& expected = shown.*row.rendering;
        EXPECT_EQ(Copy(app, row.button), expected) << "button " << static_cast<int>(row.button);
        EXPECT_EQ(ClipboardBytes(), expected + '\0') << "one terminating zero";
        // Only text; the system derives the other text formats from it.
        for (UINT format : ClipboardFormats())
            EXPECT_TRUE(format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT ||
                        format == CF_LOCALE)
                << "format " << format;
    }
}

TEST(CopyTest, EmptyBoxesCopyAnEmptyText) {
    Pigmora app;
    for (const Row& row : kRows)
        EXPECT_EQ(Copy(app, row.button), std::string())
            << "button " << static_cast<int>(row.button);
    EXPECT_EQ(ClipboardBytes(), std::string(1, '\0'));
}

TEST(CopyTest, TypedTextIsCopiedAsTyped) {
    Pigmora app;
    ClickAt(app.Centre(取色_10进制));
    for (WORD key : {WORD(VK_SPACE), WORD('0'), WORD('2'), WORD('5'), WORD('5')}) TapKey(key);
    ASSERT_TRUE(WaitUntil([&] { return app.Utf8Text(取色_10进制) == " 0255"; }))
        << app.Utf8Text(取色_10进制);
    EXPECT_EQ(Copy(app, 取色_按钮1), " 0255");
    EXPECT_EQ(Copy(app, 取色_按钮1), " 0255") << "the same text twice";
    EXPECT_EQ(ClipboardFormats().count(CF_TEXT), 1u);
}

// Another program has the clipboard open while the copy button is clicked: held for good, the
// clipboard keeps its content and the next copy works again; open only for a moment, as
// clipboard viewers do after each change, the copy waits for it instead of being lost.
TEST(CopyTest, ClipboardOpenInAnotherProgram) {
    Pigmora app;
    ClickAt(app.Centre(取色_HTML));
    TapKey('7');
    ASSERT_TRUE(WaitUntil([&] { return app.Utf8Text(取色_HTML) == "7"; }));
    // Clicks the HTML row's copy button with the clipboard open here, and keeps it open
    // through `whileOpen`.
    const auto copyWhileOpen = [&](const std::function<void()>& whileOpen) {
        PutClipboardText("kept");
        pigmora::win32::ClipboardSession held(nullptr);
        ASSERT_TRUE(held.is_open());
        Approach(app.Centre(取色_按钮5), 4);
        PressLeft();
        ReleaseLeft();
        whileOpen();
    };

    // Held until typing into a box afterwards tells that the press has been handled.
    copyWhileOpen([&] {
        ClickAt(app.Centre(取色_HTML));
        TapKey(VK_END);
        TapKey('8');
        EXPECT_TRUE(WaitUntil([&] { return app.Utf8Text(取色_HTML) == "78"; }));
    });
    EXPECT_EQ(ClipboardText(), "kept");
    EXPECT_EQ(Copy(app, 取色_按钮5), "78") << "the next copy works again";

    // Let go once the program is busy with the copy: it stops answering while it waits.
    copyWhileOpen([&] {
        WaitUntil([&] {
            DWORD_PTR ignored;
            return !SendMessageTimeoutW(app.window(), WM_NULL, 0, 0, SMTO_BLOCK, 5, &ignored);
        }, std::chrono::seconds(3));
    });
    EXPECT_TRUE(WaitUntil([] { return ClipboardText() == "78"; })) << "the copy was lost";
}

TEST(DonationTest, LeftAndRightPressOpenThePageOncePerPress) {
    AddressRecorder recorder(Config().artifacts + L"\\opened-addresses.txt");
    ASSERT_TRUE(recorder.registered());
    Pigmora app;
    const std::string address(pigmora::kDonationAddress);
    const struct {
        void (*press)();
        void (*release)();
    } kPresses[] = {{PressLeft, ReleaseLeft}, {PressRight, ReleaseRight}, {PressLeft, ReleaseLeft}};
    std::vector<std::string> expected;
    Approach(app.Centre(标签1), 6);
    for (const auto& click : kPresses) {
        click.press();
        expected.push_back(address);
        EXPECT_TRUE(WaitUntil([&] { return recorder.Addresses().size() >= expected.size(); }))
            << "press " << expected.size() << " opened nothing";
        click.release();
    }
    ASSERT_TRUE(WaitUntil([&] { return recorder.AllRecordersFinished(); }));
    EXPECT_EQ(recorder.Addresses(), expected);
    // No context menu or other window came up over the label.
    EXPECT_EQ(WindowFromPoint(app.Centre(标签1)), app.control(标签1));
}

}  // namespace
}  // namespace e2e
