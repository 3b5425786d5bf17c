// The resource script's templates and pictures, read back out of the built program and held
// against the portable template data the logic and the Qt layer use.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog_templates.h"
#include "ui/win32/control_styles.h"
#include "ui/win32/program_resources.h"
#include "ui/win32/win32_dialog_surface.h"

namespace fwup {
namespace {

using testing::DialogReader;
using testing::DialogResource;
using testing::ProgramResources;

std::wstring ClassOf(ControlKind kind) {
    // The resource compiler writes the predefined classes as ordinals, read back by name.
    switch (kind) {
        case ControlKind::kPushButton:
            return L"Button";
        case ControlKind::kStaticText:
        case ControlKind::kPicture:
            return L"Static";
        case ControlKind::kEdit:
            return L"Edit";
        case ControlKind::kDropDownList:
            return L"ComboBox";
        case ControlKind::kProgressBar:
            return L"msctls_progress32";
    }
    return {};
}

// Window class names are compared without regard to case, as the platform compares them (the
// resource compiler writes them in capitals).
::testing::AssertionResult SameClass(const std::wstring& actual, const std::wstring& expected) {
    if (CompareStringOrdinal(actual.c_str(), -1, expected.c_str(), -1, TRUE) == CSTR_EQUAL) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "class " << actual << ", expected " << expected;
}

class ResourceScriptTest : public ::testing::TestWithParam<const DialogTemplate*> {
  protected:
    void SetUp() override {
        ASSERT_NE(program_.module(), nullptr) << "cannot load " << FWUP_WIN32_PROGRAM;
    }
    ProgramResources program_;
};

TEST_P(ResourceScriptTest, TemplateMatchesItsData) {
    const DialogTemplate& data = *GetParam();
    const std::optional<DialogResource> read =
        DialogReader(program_.Bytes(RT_DIALOG, data.id)).Read();
    ASSERT_TRUE(read.has_value()) << "no extended dialog template " << data.id;

    const win32::WindowStyle style = win32::DialogStyle(data.style);
    EXPECT_EQ(read->style, style.style);
    EXPECT_EQ(read->exStyle, style.exStyle);
    EXPECT_EQ(read->cx, data.width);
    EXPECT_EQ(read->cy, data.height);
    EXPECT_EQ(read->face, data.fontFace);
    EXPECT_EQ(read->pointSize, data.fontPoints);
    EXPECT_EQ(read->charset, DEFAULT_CHARSET);
    EXPECT_EQ(read->title, data.caption);
    // Only the main window has a class of its own: a second instance looks for it.
    EXPECT_TRUE(SameClass(read->windowClass, data.id == kIddMainDialog
                                                 ? std::wstring(kMainWindowClass)
                                                 : std::wstring()));

    ASSERT_EQ(read->items.size(), data.controls.size());
    for (std::size_t i = 0; i < data.controls.size(); ++i) {
        const TemplateControl& control = data.controls[i];
        const testing::DialogItem& item = read->items[i];
        SCOPED_TRACE("control " + std::to_string(control.id));
        const win32::WindowStyle mapped = win32::ControlStyle(control.kind, control.style);
        EXPECT_EQ(item.id, static_cast<DWORD>(control.id));
        EXPECT_TRUE(SameClass(item.windowClass, ClassOf(control.kind)));
        EXPECT_EQ(item.style, WS_CHILD | (control.visible ? WS_VISIBLE : 0) | mapped.style);
        EXPECT_EQ(item.exStyle, mapped.exStyle);
        EXPECT_EQ((std::vector<int>{item.x, item.y, item.cx, item.cy}),
                  (std::vector<int>{control.rect.x, control.rect.y, control.rect.width,
                                    control.rect.height}));
        if (control.bitmapId != 0) {
            EXPECT_EQ(item.titleOrdinal, static_cast<WORD>(control.bitmapId));
        } else {
            EXPECT_FALSE(item.titleOrdinal.has_value());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, ResourceScriptTest,
                         ::testing::Values(&kMainDialogTemplate, &kMessageDialogTemplate),
                         [](const auto& info) {
                             return "Template" + std::to_string(info.param->id);
                         });

struct PictureCase {
    int id;
    int width;
    int height;
    Rgb background;
};

class ProgramPicturesTest : public ::testing::TestWithParam<PictureCase> {
  protected:
    ProgramResources program_;
};

// The pictures sit frameless on their dialog's background, so their edge must be that colour.
TEST_P(ProgramPicturesTest, PictureIs24BitOnItsDialogsBackground) {
    const PictureCase& picture = GetParam();
    const std::span<const std::uint8_t> bytes = program_.Bytes(RT_BITMAP, picture.id);
    ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes.data(), sizeof(header));
    EXPECT_EQ(header.biWidth, picture.width);
    EXPECT_EQ(header.biHeight, picture.height);  // bottom-up
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));

    const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) & ~std::size_t{3};
    ASSERT_GE(bytes.size(), header.biSize + stride * static_cast<std::size_t>(picture.height));
    const std::uint8_t* pixels = bytes.data() + header.biSize;
    const auto at = [&](int x, int y) {
        const std::uint8_t* p = pixels + stride * static_cast<std::size_t>(y) + 3u * x;
        return Rgb{p[2], p[1], p[0]};
    };
    const int right = picture.width - 1;
    const int top = picture.height - 1;
    for (const Rgb corner : {at(0, 0), at(right, 0), at(0, top), at(right, top)}) {
        EXPECT_EQ(corner, picture.background);
    }
    // And something is drawn on it.
    EXPECT_NE(at(picture.width / 2, picture.height / 2), picture.background);
}

INSTANTIATE_TEST_SUITE_P(Pictures, ProgramPicturesTest,
                         ::testing::Values(PictureCase{kIdbFailed, 97, 90, {236, 237, 236}},
                                           PictureCase{kIdbSucceeded, 98, 93, {236, 237, 236}},
                                           PictureCase{kIdbWarning, 45, 40, {255, 255, 255}}),
                         [](const auto& info) { return "Bitmap" + std::to_string(info.param.id); });

TEST(ProgramResourcesTest, IconComesInTheSizesTheShellAsksFor) {
    const ProgramResources program;
    const std::span<const std::uint8_t> group = program.Bytes(RT_GROUP_ICON, kIdiApp);
    ASSERT_GE(group.size(), 6u);
    const std::size_t count = group[4] | (group[5] << 8);
    ASSERT_EQ(group.size(), 6 + 14 * count);
    std::vector<int> sizes;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t width = group[6 + 14 * i];
        sizes.push_back(width == 0 ? 256 : width);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));
}

TEST(ProgramResourcesTest, ManifestAsksForAdministratorCommonControls6AndPerMonitorDpi) {
    const ProgramResources program;
    const std::span<const std::uint8_t> bytes =
        program.Bytes(RT_MANIFEST, 1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
    const std::string manifest(bytes.begin(), bytes.end());
    ASSERT_FALSE(manifest.empty());
    for (const std::string_view expected :
         {"level=\"requireAdministrator\" uiAccess=\"false\"",
          "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", ">true</dpiAware>",
          ">PerMonitorV2</dpiAwareness>"}) {
        EXPECT_NE(manifest.find(expected), std::string::npos) << expected;
    }
}

}  // namespace
}  // namespace fwup
