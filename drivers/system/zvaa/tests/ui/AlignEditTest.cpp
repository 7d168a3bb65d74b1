// The validation of typed alignment values and the spin arrows, on the real edit controls of the
// alignment dialog's template (hosted by a procedure of its own, so each call is seen alone).
#include <gtest/gtest.h>

#include <string>

#include "core/ModelProfile.h"
#include "resources/ResourceIds.h"
#include "ui/AlignDialog.h"

namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class AlignEdit : public testing::Test {
protected:
    void SetUp() override {
        m_dialog = CreateDialogParamW(Model().module, MAKEINTRESOURCEW(IDD_ALIGNMENT), nullptr, QuietProc, 0);
        ASSERT_NE(nullptr, m_dialog);
    }
    void TearDown() override { DestroyWindow(m_dialog); }

    std::wstring Text(int id) const {
        WCHAR text[32] = L"";
        GetDlgItemTextW(m_dialog, id, text, ARRAYSIZE(text));
        return text;
    }
    // Types `typed` into the edit, validates it, and gives the value and the text left in the edit.
    std::pair<LONG, std::wstring> Validate(const wchar_t *typed, int edit, CartridgeCombo combo, int index) {
        SetDlgItemTextW(m_dialog, edit, typed);
        const LONG value = ValidateAlignEdit(m_dialog, edit, combo, index);
        return {value, Text(edit)};
    }

    HWND m_dialog = nullptr;
};

using Result = std::pair<LONG, std::wstring>;

TEST_F(AlignEdit, CorrectsTypedTextAsTheUserSeesIt) {
    // Group C (value 2) of black + colour allows 0 to 30, group B (value 1) 0 to 15.
    EXPECT_EQ(Result(0, L"0"), Validate(L"-", IDC_EDIT_C, kComboBlackColour, 2));
    EXPECT_EQ(Result(0, L"0"), Validate(L"", IDC_EDIT_C, kComboBlackColour, 2));
    EXPECT_EQ(Result(0, L"0"), Validate(L"00", IDC_EDIT_C, kComboBlackColour, 2));
    EXPECT_EQ(Result(0, L"0"), Validate(L"-7", IDC_EDIT_C, kComboBlackColour, 2));
    EXPECT_EQ(Result(0, L"0"), Validate(L"ab", IDC_EDIT_C, kComboBlackColour, 2));
    EXPECT_EQ(Result(5, L"05"), Validate(L"05", IDC_EDIT_C, kComboBlackColour, 2));
    EXPECT_EQ(Result(7, L"7x"), Validate(L"7x", IDC_EDIT_C, kComboBlackColour, 2));
    EXPECT_EQ(Result(30, L"30"), Validate(L"30", IDC_EDIT_C, kComboBlackColour, 2));
    EXPECT_EQ(Result(30, L"30"), Validate(L"99", IDC_EDIT_C, kComboBlackColour, 2));
    EXPECT_EQ(Result(15, L"15"), Validate(L"99", IDC_EDIT_B, kComboBlackColour, 1));
    EXPECT_EQ(Result(15, L"15"), Validate(L"16", IDC_EDIT_B, kComboBlackColour, 1));
    EXPECT_EQ(Result(0, L"0"), Validate(L"0", IDC_EDIT_B, kComboBlackColour, 1));
}

TEST_F(AlignEdit, ReadsNineCharactersAtMost) {
    // Longer text is read as its first nine characters, so no number can exceed a LONG.
    EXPECT_EQ(Result(30, L"30"), Validate(L"99999999999999999999", IDC_EDIT_A, kComboBlackColour, 0));
    EXPECT_EQ(Result(0, L"0"), Validate(L"-99999999999999999999", IDC_EDIT_A, kComboBlackColour, 0));
    EXPECT_EQ(Result(12, L"  12"), Validate(L"  12", IDC_EDIT_A, kComboBlackColour, 0));
}

TEST_F(AlignEdit, PairsWithoutValuesOrRowsAllowOnlyZero) {
    // Black only and colour only have bounds 0 to 0; an invalid pair (5) and unknown combinations
    // have no row in the table and get the same bounds instead of reading past it.
    const CartridgeCombo combos[] = {kComboBlackOnly, kComboColourOnly, kComboInvalid, CartridgeCombo(4),
                                     CartridgeCombo(-1), CartridgeCombo(1000)};
    for (CartridgeCombo combo : combos) {
        EXPECT_EQ(Result(0, L"0"), Validate(L"17", IDC_EDIT_A, combo, 0)) << combo;
        EXPECT_EQ(Result(0, L"0"), Validate(L"0", IDC_EDIT_F, combo, 5)) << combo;
    }
    // Colour + photo has four values; E and F allow only 0.
    EXPECT_EQ(Result(30, L"30"), Validate(L"30", IDC_EDIT_D, kComboColourPhoto, 3));
    EXPECT_EQ(Result(0, L"0"), Validate(L"30", IDC_EDIT_E, kComboColourPhoto, 4));
    // An index outside 0..5 reads nothing beyond the row either.
    EXPECT_EQ(Result(0, L"0"), Validate(L"9", IDC_EDIT_F, kComboBlackColour, 6));
}

TEST_F(AlignEdit, SpinArrowsStepWithinTheirOwnRange) {
    EXPECT_EQ(1, StepAlignEdit(m_dialog, SB_LINEUP, IDC_EDIT_A, 7));
    EXPECT_EQ(L"8", Text(IDC_EDIT_A));
    EXPECT_EQ(1, StepAlignEdit(m_dialog, SB_LINEDOWN, IDC_EDIT_A, 7));
    EXPECT_EQ(L"6", Text(IDC_EDIT_A));
    EXPECT_EQ(1, StepAlignEdit(m_dialog, SB_LINEUP, IDC_EDIT_A, 30));
    EXPECT_EQ(L"30", Text(IDC_EDIT_A));
    EXPECT_EQ(1, StepAlignEdit(m_dialog, SB_LINEDOWN, IDC_EDIT_A, 0));
    EXPECT_EQ(L"0", Text(IDC_EDIT_A));
    // The arrows' range is their own: 15 steps to 16 even where the group allows 15 (the dialog's
    // validation on change takes it back).
    EXPECT_EQ(1, StepAlignEdit(m_dialog, SB_LINEUP, IDC_EDIT_B, 15));
    EXPECT_EQ(L"16", Text(IDC_EDIT_B));

    // The thumb and the page areas are no steps: the edit keeps its text.
    SetDlgItemTextW(m_dialog, IDC_EDIT_C, L"12");
    for (WPARAM request : {WPARAM(SB_PAGEUP), WPARAM(SB_PAGEDOWN), MAKEWPARAM(SB_THUMBTRACK, 3),
                           MAKEWPARAM(SB_THUMBPOSITION, 3), WPARAM(SB_ENDSCROLL), WPARAM(SB_TOP)}) {
        EXPECT_EQ(0, StepAlignEdit(m_dialog, request, IDC_EDIT_C, 12)) << request;
        EXPECT_EQ(L"12", Text(IDC_EDIT_C));
    }
}

}  // namespace
