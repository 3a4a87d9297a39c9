// OFN_ENABLETEMPLATEHANDLE asks for the handle of a memory object holding the template, which
// Windows 98's common dialogs lock; the address of static data is none.
#include "view/win32/PicturePreview.h"

#include <gtest/gtest.h>

namespace vt::view {
namespace {

TEST(PicturePreviewTest, TheTemplateIsAFixedMemoryObjectWithItsItemOnADword) {
    ::OPENFILENAMEA dialog{};
    PicturePreview preview(dialog);
    auto memory = reinterpret_cast<::HGLOBAL>(dialog.hInstance);
    ASSERT_GE(::GlobalSize(memory), 50u);
    auto* locked = static_cast<const BYTE*>(::GlobalLock(memory));
    EXPECT_EQ(static_cast<const void*>(locked), memory) << "the handle is also its address";
    EXPECT_EQ(1, reinterpret_cast<const ::DLGTEMPLATE*>(locked)->cdit);
    EXPECT_EQ(kPreviewId, reinterpret_cast<const ::DLGITEMTEMPLATE*>(locked + 24)->id);
    ::GlobalUnlock(memory);
}

}  // namespace
}  // namespace vt::view
