#pragma once
// A tab page of the main window. Each page builds its own controls (named as in the window
// design, as object name and public member), connects their handlers, and takes part in the
// start-up sequence and the acquisition tick.

#include "app/AppState.h"
#include "app/DialogSet.h"
#include "app/Services.h"
#include "instrument/Kx10.h"

#include <QWidget>

namespace qor {

// Operations of the main window that pages call on each other's behalf.
class MainOps {
public:
    virtual ~MainOps() = default;
    virtual void showOnlineLamp(bool online) = 0;   // qorON / qorOFF
    virtual int currentPageIndex() const = 0;       // index of the visible page of PageMaster
    virtual void DrawSpectrum() = 0;                // spectrum view redraw (MCA page)
    virtual void ShowCurrentRoi() = 0;              // ROI group of the MCA page
    virtual void DrawMap() = 0;                     // map redraw (2D SCAN page)
    virtual void setTimer2Interval(int ms) = 0;     // period of the scan sequencer's timer
    virtual void showRunNames(bool shown) = 0;      // the tool bar's RunName1 / RunName2
};

// What a page receives: the shared state, the services, the instrument, the main window.
struct PageContext {
    AppState& st;
    Services& svc;
    Kx10& kx;
    MainOps& main;
    DialogSet& dlg;   // filled once the dialogs exist (after the start-up sequence)
};

class Page : public QWidget {
    Q_OBJECT
public:
    Page(PageContext ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {}

    // Runs this page's share of step `step` (1..21) of the start-up sequence: filling its
    // controls from the record (filling a text box runs its change handler).
    virtual void startupStep(int step) { (void)step; }
    // The page duty run by the acquisition tick while this page is visible.
    virtual void tickDuty() {}

protected:
    AppState& st() { return ctx_.st; }
    InfoRecord& rec() { return ctx_.st.rec; }
    Services& svc() { return ctx_.svc; }
    Kx10& kx() { return ctx_.kx; }
    MainOps& main() { return ctx_.main; }
    DialogSet& dlg() { return ctx_.dlg; }

private:
    PageContext ctx_;
};

}  // namespace qor
