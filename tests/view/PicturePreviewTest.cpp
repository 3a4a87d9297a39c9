// The picture dialog's child template: OFN_ENABLETEMPLATEHANDLE asks for the handle of a
// memory object, which Windows 98's common dialogs lock; the address of static data is none.
#include "view/win32/PicturePreview.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>

#include <cstdint>

namespace vt::view {
namespace {

TEST(PicturePreviewTest, TheTemplateIsAMemoryObjectOfDwordAlignedParts) {
    ::OPENFILENAMEA dialog{};
    PicturePreview preview(dialog);
    ASSERT_TRUE(dialog.Flags & OFN_ENABLETEMPLATEHANDLE);
    auto memory = reinterpret_cast<::HGLOBAL>(dialog.hInstance);
    EXPECT_GE(::GlobalSize(memory), 50u) << "a block of the global heap";
    auto* locked = static_cast<const BYTE*>(::GlobalLock(memory));
    ASSERT_TRUE(locked);
    EXPECT_EQ(static_cast<const void*>(locked), memory) << "fixed: the handle is its address";
    EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(locked) % 4);
    const auto* made = reinterpret_cast<const ::DLGTEMPLATE*>(locked);
    EXPECT_EQ(1, made->cdit);
    EXPECT_TRUE(made->style & DS_CONTROL);
    // No menu, class or title after the 18-byte header: the item starts at 24, on a DWORD.
    const auto* item = reinterpret_cast<const ::DLGITEMTEMPLATE*>(locked + 24);
    EXPECT_EQ(kPreviewId, item->id);
    EXPECT_TRUE(item->style & SS_BITMAP);
    ::GlobalUnlock(memory);
}

}  // namespace
}  // namespace vt::view
