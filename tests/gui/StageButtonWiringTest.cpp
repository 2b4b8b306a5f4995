// The wiring of every stage button on every page that has one: the Setup SCAN jog pad and the
// rows of motors #3 to #8, the 2D SCAN motor groups, the element scan jog pad. Each button is
// clicked on its own against a recording instrument and must send exactly its commands: the
// motor (module and axis), the kind (move, set, halt) and the pulse address.

#include "app/DialogSet.h"
#include "app/InfoRecord.h"
#include "app/TForm9.h"
#include "scan/ElementScanPage.h"
#include "scan/Scan2DPage.h"
#include "scan/SetupScanPage.h"
#include "scan/StageFakeKx10.h"
#include "support/Fakes.h"

#include <QPushButton>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

using Call = StageFakeKx10::Call;

struct PageOnItsOwn : MainOps {
    int page = 0;
    void showOnlineLamp(bool) override {}
    int currentPageIndex() const override { return page; }
    void DrawSpectrum() override {}
    void ShowCurrentRoi() override {}
    void DrawMap() override {}
    void setTimer2Interval(int) override {}
    void showRunNames(bool) override {}
};

// Motor n (1..8): module '2' for #1..#4 and '3' for #5..#8, axis '0' + (n - 1) mod 4.
char moduleOf(int n) { return n <= 4 ? '2' : '3'; }
int32_t axisOf(int n) { return '0' + (n - 1) % 4; }
Call move(int n, int32_t p) { return {"move", moduleOf(n), axisOf(n), p}; }
Call set(int n, int32_t p) { return {"set", moduleOf(n), axisOf(n), p}; }
Call halt(int n) { return {"halt", moduleOf(n), axisOf(n), 0}; }

struct Wiring : ::testing::Test {
    std::unique_ptr<AppState> st = std::make_unique<AppState>();
    FakeAlerts alerts;
    FakeSounds sounds;
    FakeDialogs dialogs;
    ManualClock clock;
    FakePrinting printing;
    Services svc{alerts, sounds, dialogs, clock, printing};
    StageFakeKx10 kx;
    PageOnItsOwn main;
    DialogSet dlg;

    // All eight motors enabled at 100 pulses per unit; motor n stands at 1000 n pulses; X jogs
    // by 0.5, Y by 0.25, motor n (#3..#8) by n / 10; its EDIT value is n + 0.5 and its GOTO
    // target n + 0.25 units.
    void SetUp() override {
        setCreationDefaults(st->rec, "/tmp/");
        InfoRecord& r = st->rec;
        for (int n = 1; n <= 8; ++n) {
            r.MotorEnabled[n - 1] = 1;
            r.MotorLogicalPulses[n - 1] = 100;
            r.MotorJogStep[n - 1] = n / 10.0;
            r.MotorSetPos[n - 1] = n + 0.5;
            r.MotorGotoPos[n - 1] = n + 0.25;
        }
        r.JogStepX = 0.5;
        r.JogStepY = 0.25;
        st->Online = 1;
    }
    void placeAxes() {
        for (int n = 1; n <= 8; ++n) kx.axis(moduleOf(n), static_cast<char>(axisOf(n))).pulses = 1000 * n;
    }
    // Clicks each named button of `page` alone and compares its commands.
    void expectWiring(QWidget& page, const std::vector<std::pair<const char*, std::vector<Call>>>& table) {
        for (const auto& [name, expected] : table) {
            auto* b = page.findChild<QPushButton*>(QString::fromLatin1(name));
            ASSERT_NE(nullptr, b) << name;
            placeAxes();
            kx.calls.clear();
            b->click();
            EXPECT_EQ(expected, kx.commands()) << name;
        }
        EXPECT_EQ(0, alerts.beeps);
    }
};

}  // namespace

TEST_F(Wiring, SetupScanJogPadAndMotorRows) {
    main.page = TForm9::kSetupScan;
    SetupScanPage p(PageContext{*st, svc, kx, main, dlg}, nullptr);
    std::vector<std::pair<const char*, std::vector<Call>>> table = {
        {"Button26", {move(2, 2025)}}, {"Button27", {move(2, 1975)}},
        {"Button28", {move(1, 1050)}}, {"Button29", {move(1, 950)}},
        {"Button30", {halt(1), halt(2)}}, {"Button31", {set(1, 0), set(2, 0)}},
    };
    // Rows #3..#8: EDIT, GOTO, ◀, STOP, ▶.
    const char* rows[6][5] = {{"Button32", "Button33", "Button34", "Button35", "Button36"},
                              {"Button37", "Button38", "Button39", "Button40", "Button41"},
                              {"Button42", "Button43", "Button44", "Button45", "Button46"},
                              {"Button47", "Button48", "Button49", "Button50", "Button51"},
                              {"Button52", "Button53", "Button54", "Button55", "Button56"},
                              {"Button57", "Button58", "Button59", "Button60", "Button61"}};
    for (int n = 3; n <= 8; ++n) {
        const char* const* row = rows[n - 3];
        table.push_back({row[0], {set(n, 100 * n + 50)}});
        table.push_back({row[1], {move(n, 100 * n + 25)}});
        table.push_back({row[2], {move(n, 1000 * n - 10 * n)}});
        table.push_back({row[3], {halt(n)}});
        table.push_back({row[4], {move(n, 1000 * n + 10 * n)}});
    }
    expectWiring(p, table);
}

TEST_F(Wiring, Scan2DMotorGroupsAndShortcuts) {
    main.page = TForm9::kScan2D;
    Scan2DPage p(PageContext{*st, svc, kx, main, dlg}, nullptr);
    expectWiring(p, {
        {"Button72", {move(1, 950)}},  {"Button73", {move(1, 1050)}},
        {"Button71", {move(2, 1975)}}, {"Button69", {move(2, 2025)}},
        {"Button75", {move(3, 2970)}}, {"Button76", {move(3, 3030)}},
        {"Button74", {set(1, 0)}},     {"Button70", {set(2, 0)}},
        {"Button77", {set(3, 0)}},
        {"Button63", {move(1, 0), move(2, 0), move(3, 0)}},
        {"Button64", {move(1, 0), move(2, 0)}},
        {"Button68", {halt(1), halt(2), halt(3)}},
    });
}

TEST_F(Wiring, ElementScanJogPad) {
    main.page = TForm9::kElementScan;
    ElementScanPage p(PageContext{*st, svc, kx, main, dlg}, nullptr);
    expectWiring(p, {
        {"Button84", {move(1, 950)}},  {"Button83", {move(1, 1050)}},
        {"Button82", {move(2, 1975)}}, {"Button81", {move(2, 2025)}},
        {"Button85", {halt(1), halt(2)}}, {"Button86", {set(1, 0), set(2, 0)}},
    });
}
