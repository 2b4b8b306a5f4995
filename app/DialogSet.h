#pragma once
// The eight dialogs, created once after the main window, in this order, living until the end.

namespace qor {

class TOKRightDlg2;
class TDlgSameF;
class TTeiseiDlg;
class TSmoothDlg;
class TecalDlg;
class TOKRightDlg;
class TOKBottomDlg;
class TOKRightDlg1;

struct DialogSet {
    TOKRightDlg2* OKRightDlg2 = nullptr;   // save comment
    TDlgSameF* DlgSameF = nullptr;         // same file name
    TTeiseiDlg* TeiseiDlg = nullptr;       // analysis parameters
    TSmoothDlg* SmoothDlg = nullptr;       // smoothing (never shown)
    TecalDlg* ecalDlg = nullptr;           // energy calibration
    TOKRightDlg* OKRightDlg = nullptr;     // execute confirmation
    TOKBottomDlg* OKBottomDlg = nullptr;   // OK/Cancel base
    TOKRightDlg1* OKRightDlg1 = nullptr;   // 2D scan start confirmation
};

}  // namespace qor
