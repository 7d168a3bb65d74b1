// The shipped DLL carries every dialog template and bitmap its dialogs load, and no bitmap 156.
#include <gtest/gtest.h>

#include "testbed/DialogTemplate.h"
#include "testbed/PluginLibrary.h"

namespace {

TEST(DllResources, CarryEveryDialogAndPicture) {
    PluginLibrary dll;
    ASSERT_NE(nullptr, dll.module());
    for (UINT id : {104u, 106u, 113u, 150u, 151u, 152u, 153u, 154u}) {
        DialogTemplateInfo info;
        EXPECT_TRUE(ReadDialogTemplate(dll.module(), id, &info)) << "dialog " << id;
        EXPECT_FALSE(info.items.empty()) << "dialog " << id;
    }
    std::vector<UINT> bitmaps = {106, 108, 109, 110, 111, 112, 151, 155};
    for (UINT id = 119; id <= 147; ++id) bitmaps.push_back(id);
    for (UINT id : bitmaps) {
        HANDLE picture = LoadImageW(dll.module(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        EXPECT_NE(nullptr, picture) << "bitmap " << id;
        if (picture) DeleteObject(picture);
    }
    EXPECT_EQ(nullptr, LoadImageW(dll.module(), MAKEINTRESOURCEW(156), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace
