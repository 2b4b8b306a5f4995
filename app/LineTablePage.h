#pragma once
// The two line-table pages: "X table" (the elements Na to U with their K, L and M lines) and
// "γ table" (the radionuclides with their X and γ lines). Each page lists its sources, the
// lines of the chosen source, and the lines near a typed energy; sources checked in the list
// are marked on the spectrum view. Both pages carry the identification of the viewed spectrum's
// peaks against the table the Table menu chose, its ranked list, and the set-up of maps from
// the identified elements. The tables are read when a page is first shown.

#include "app/Page.h"
#include "analysis/LineTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <functional>

namespace qor {

class LineTablePage : public Page {
    Q_OBJECT
public:
    LineTablePage(PageContext ctx, QWidget* parent, TableKind kind);

    // Called after maps were set up, so that the Setup SCAN page shows the new map slots.
    std::function<void()> mapSlotsChanged;

    // Fills the lists from the table (once; also done when the page is first shown).
    void populate();
    // Shows the last identification (also after one made on the other page or by "自").
    void showIdentification();
    // Checks the sources marked on the spectrum view (of this page's table) in the list.
    void showMarks();

    // Handlers.
    void SourceListChange();        // a source chosen: its lines
    void SourceListCheck();         // a check mark changed: the markers
    void EnergyEditChange();        // the lines near the typed energy
    void IdentifyButtonClick();     // identify the viewed slot's peaks
    void MapButtonClick();          // "map these"

    QListWidget* SourceList = nullptr;
    QTableWidget* LineList = nullptr;
    QLineEdit* EnergyEdit = nullptr;
    QLineEdit* ToleranceEdit = nullptr;
    QTableWidget* NearList = nullptr;
    QComboBox* IdentifyFrom = nullptr;   // the peaks of the last search, or the ROIs
    QPushButton* IdentifyButton = nullptr;
    QLabel* IdentifyNote = nullptr;
    QTableWidget* RankedList = nullptr;
    QPushButton* MapButton = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void fillLines(QTableWidget* list, const std::vector<SpectralLine>& lines);
    const LineTable& table() const { return LineTable::of(kind_); }

    TableKind kind_;
    bool populated_ = false;
    bool filling_ = false;
};

}  // namespace qor
