// A test printer with an installed state key, for the wizard dialog tests, and small readers of
// what the dialogs show.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/ModelProfile.h"
#include "testbed/DialogRobot.h"
#include "testbed/PrinterEnvironment.h"
#include "testbed/PrinterStateFixture.h"

inline std::wstring ModuleString(UINT id) {
    WCHAR text[260] = L"";
    const int length = LoadStringW(Model().module, id, text, ARRAYSIZE(text));
    return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

class WizardTestPrinter : public testing::Test {
protected:
    // A printer whose key holds colour + black, every counter at 1000, AlignNeed 7 (a value no
    // dialog writes, so that an untouched flag shows).
    void SetUp() override {
        m_printer = m_environment.AddTestPrinter();
        ASSERT_FALSE(m_printer.empty());
        m_state.reset(new PrinterStateFixture(m_environment, m_printer));
        ASSERT_TRUE(m_state->Install(kCartColour, kCartBlack, kUntouchedLevel, kUntouchedFlag));
    }

    PrinterStateFixture &State() { return *m_state; }
    void ExpectCounters(const std::vector<LONG> &expected) {
        for (size_t i = 0; i < 11; ++i) EXPECT_EQ(expected[i], State().Get(kInkCounterNames[i])) << kInkCounterNames[i];
    }
    // The window's top-left corner on the screen.
    static POINT Corner(const DialogView &d) {
        const RECT r = d.WindowRect();
        return POINT{r.left, r.top};
    }

public:
    static constexpr LONG kUntouchedLevel = 1000;
    static constexpr LONG kUntouchedFlag = 7;

protected:
    PrinterEnvironment m_environment;
    std::wstring m_printer;
    std::unique_ptr<PrinterStateFixture> m_state;
};

inline bool operator==(const POINT &a, const POINT &b) { return a.x == b.x && a.y == b.y; }
inline std::ostream &operator<<(std::ostream &out, const POINT &p) { return out << p.x << "," << p.y; }
