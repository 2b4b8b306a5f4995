#pragma once
// A page on its own, for window tests that drive it against the recording driver fake instead
// of the simulator: the program state, recording services, a manual clock and a stand-in main
// window that records the lamp it was asked to show.

#include <QCheckBox>
#include <QWidget>
#include <memory>

#include "app/Page.h"
#include "instrument/RecordingKx10.h"
#include "support/Fakes.h"

namespace qor::test {

class RecordingMainOps : public MainOps {
public:
    void showOnlineLamp(bool online) override { lamps.push_back(online); }
    int currentPageIndex() const override { return 0; }
    void DrawSpectrum() override {}
    void ShowCurrentRoi() override {}
    void DrawMap() override {}
    void setTimer2Interval(int) override {}
    void showRunNames(bool) override {}
    std::vector<bool> lamps;
};

template <class P>
class PageRig {
public:
    PageRig() {
        // The MCA page's "MCA1 " selection, which some commands consult.
        auto* mcaPage = new QWidget(&window);
        mcaPage->setObjectName(QStringLiteral("MCAcollect"));
        mca1Selection = new QCheckBox(QStringLiteral("MCA1 "), mcaPage);
        mca1Selection->setObjectName(QStringLiteral("CheckBox13"));
        mca1Selection->setChecked(true);
        page = new P(PageContext{*st, services, kx, main, dialogSet}, &window);
    }
    InfoRecord& rec() { return st->rec; }

    std::unique_ptr<AppState> st = std::make_unique<AppState>();
    FakeAlerts alerts;
    FakeSounds sounds;
    FakeDialogs dialogs;
    ManualClock clock;
    FakePrinting printing;
    Services services{alerts, sounds, dialogs, clock, printing};
    RecordingKx10 kx;
    RecordingMainOps main;
    DialogSet dialogSet;
    QWidget window;
    QCheckBox* mca1Selection = nullptr;
    P* page = nullptr;
};

}  // namespace qor::test
