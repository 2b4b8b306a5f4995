#include "app/LineTablePage.h"

#include "analysis/EnergyScale.h"
#include "analysis/LineState.h"
#include "analysis/SlotIdentify.h"
#include "app/Widgets.h"
#include "scan/MapSetup.h"
#include "spectrum/SpectrumView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>

namespace qor {

namespace {

QTableWidget* makeTable(QWidget* parent, const char* name, const QStringList& headers) {
    auto* t = named(new QTableWidget(0, headers.size(), parent), name);
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->setVisible(false);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

QTableWidgetItem* cell(const QString& text) { return new QTableWidgetItem(text); }

}  // namespace

LineTablePage::LineTablePage(PageContext ctx, QWidget* parent, TableKind kind)
    : Page(ctx, parent), kind_(kind) {
    const bool x = kind == TableKind::Xray;
    SourceList = named(new QListWidget(this), "SourceList");
    SourceList->setMaximumWidth(120);
    SourceList->setToolTip(x ? QStringLiteral("チェックした元素の線をスペクトルに表示")
                             : QStringLiteral("チェックした核種の線をスペクトルに表示"));
    LineList = makeTable(this, "LineList",
                         x ? QStringList{QStringLiteral("Line"), QStringLiteral("Energy[keV]"),
                                         QStringLiteral("Rel.")}
                           : QStringList{QStringLiteral("Line"), QStringLiteral("Energy[keV]"),
                                         QStringLiteral("Rel."), QStringLiteral("/decay")});
    EnergyEdit = makeEdit(this, "EnergyEdit", 90);
    ToleranceEdit = makeEdit(this, "ToleranceEdit", 60);
    ToleranceEdit->setText(QStringLiteral("0.1"));
    NearList = makeTable(this, "NearList",
                         {QStringLiteral("Line"), QStringLiteral("Energy[keV]"),
                          QStringLiteral("Rel.")});

    IdentifyFrom = makeCombo(this, "IdentifyFrom",
                             {QStringLiteral("自動サーチのピーク"), QStringLiteral("ROI")});
    IdentifyFrom->setCurrentIndex(0);
    IdentifyButton = makeButton(this, "IdentifyButton", QStringLiteral("同定"));
    IdentifyNote = makeLabel(this, QString(), "IdentifyNote");
    IdentifyNote->setWordWrap(true);
    RankedList = makeTable(this, "RankedList",
                           {QStringLiteral("Element"), QStringLiteral("Score"),
                            QStringLiteral("Lines")});
    MapButton = makeButton(this, "MapButton", QStringLiteral("map these"));
    MapButton->setToolTip(QStringLiteral(
        "チェックした元素（20まで）をMCA1のROI 1..n とマップROIに設定します"));

    auto* near = new QHBoxLayout;
    near->addWidget(makeLabel(this, QStringLiteral("Energy[keV]")));
    near->addWidget(EnergyEdit);
    near->addWidget(makeLabel(this, QStringLiteral("±")));
    near->addWidget(ToleranceEdit);
    near->addStretch(1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(LineList, 3);
    middle->addLayout(near);
    middle->addWidget(NearList, 2);

    auto* idRow = new QHBoxLayout;
    idRow->addWidget(IdentifyFrom);
    idRow->addWidget(IdentifyButton);
    idRow->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(makeLabel(this, QStringLiteral("表示中のスペクトルのピークの同定")));
    right->addLayout(idRow);
    right->addWidget(IdentifyNote);
    right->addWidget(RankedList, 1);
    right->addWidget(MapButton);

    auto* columns = new QHBoxLayout(this);
    columns->addWidget(SourceList);
    columns->addLayout(middle, 2);
    columns->addLayout(right, 3);

    connect(SourceList, &QListWidget::currentRowChanged, this, &LineTablePage::SourceListChange);
    connect(SourceList, &QListWidget::itemChanged, this, &LineTablePage::SourceListCheck);
    connect(EnergyEdit, &QLineEdit::textChanged, this, &LineTablePage::EnergyEditChange);
    connect(ToleranceEdit, &QLineEdit::textChanged, this, &LineTablePage::EnergyEditChange);
    connect(IdentifyButton, &QPushButton::clicked, this, &LineTablePage::IdentifyButtonClick);
    connect(MapButton, &QPushButton::clicked, this, &LineTablePage::MapButtonClick);
}

void LineTablePage::showEvent(QShowEvent* e) {
    populate();
    showIdentification();
    showMarks();
    Page::showEvent(e);
}

void LineTablePage::populate() {
    if (populated_) return;
    populated_ = true;
    filling_ = true;
    for (const LineSource& s : table().sources()) {
        auto* item = new QListWidgetItem(QString::fromStdString(s.name), SourceList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    filling_ = false;
}

void LineTablePage::fillLines(QTableWidget* list, const std::vector<SpectralLine>& lines) {
    list->setRowCount(static_cast<int>(lines.size()));
    const bool decay = list->columnCount() > 3;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const SpectralLine& l = lines[i];
        list->setItem(i, 0, cell(QString::fromStdString(list == LineList ? l.name : l.label)));
        list->setItem(i, 1, cell(QString::number(l.energyKeV, 'f', 3)));
        list->setItem(i, 2, cell(QString::number(l.relative, 'f', 3)));
        if (decay) list->setItem(i, 3, cell(QString::number(l.perDecay, 'g', 4)));
    }
}

void LineTablePage::SourceListChange() {
    fillLines(LineList, table().linesOf(SourceList->currentRow()));
}

void LineTablePage::SourceListCheck() {
    if (filling_) return;
    std::vector<int> marked;
    for (int i = 0; i < SourceList->count(); ++i)
        if (SourceList->item(i)->checkState() == Qt::Checked) marked.push_back(i);
    setMarkedSources(st().lines, kind_, marked);
    main().DrawSpectrum();
}

void LineTablePage::EnergyEditChange() {
    bool ok1 = false, ok2 = false;
    const double e = EnergyEdit->text().trimmed().toDouble(&ok1);
    const double tol = ToleranceEdit->text().trimmed().toDouble(&ok2);
    fillLines(NearList, ok1 && ok2 ? table().linesNear(e, tol) : std::vector<SpectralLine>{});
}

void LineTablePage::IdentifyButtonClick() {
    const int s = clampSlot(st().spectrum.ViewSlot);
    const PeakSource from = IdentifyFrom->currentIndex() == 1 ? PeakSource::Rois : PeakSource::Search;
    if (!identifySlot(st().lines, st().analysis.peaks, rec(), st().spectrum, s, from)) {
        showIdentification();
        return;
    }
    // The identified sources become the markers of the spectrum view.
    std::vector<int> marked;
    for (const IdentifiedSource& r : st().lines.result.ranked) marked.push_back(r.source);
    setMarkedSources(st().lines, st().lines.table, marked);
    showIdentification();
    showMarks();
    main().DrawSpectrum();
}

void LineTablePage::showMarks() {
    if (!populated_) return;
    const LineState& ls = st().lines;
    filling_ = true;
    for (int i = 0; i < SourceList->count(); ++i) {
        const bool marked = ls.table == kind_ &&
                            std::find(ls.marked.begin(), ls.marked.end(), i) != ls.marked.end();
        SourceList->item(i)->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
}

void LineTablePage::showIdentification() {
    const LineState& ls = st().lines;
    const LineTable* t = populated_ || ls.slot >= 0 ? &LineTable::of(ls.table) : nullptr;
    const auto& ranked = ls.result.ranked;
    RankedList->setRowCount(t ? static_cast<int>(ranked.size()) : 0);
    if (ls.slot >= 0 && !EnergyScale::ofSlot(rec(), ls.slot).valid())
        IdentifyNote->setText(QStringLiteral("同定にはエネルギー校正が必要です"));
    else if (ls.slot >= 0)
        IdentifyNote->setText(QStringLiteral("%1: %2 peaks, %3 identified")
                                  .arg(ls.table == TableKind::Xray ? QStringLiteral("X-ray table")
                                                                   : QStringLiteral("γ-ray table"))
                                  .arg(ls.peaks.size())
                                  .arg(ranked.size()));
    else
        IdentifyNote->clear();
    if (!t) return;
    for (int i = 0; i < static_cast<int>(ranked.size()); ++i) {
        const IdentifiedSource& r = ranked[i];
        auto* name = cell(QString::fromStdString(t->sources()[r.source].name));
        name->setFlags(name->flags() | Qt::ItemIsUserCheckable);
        name->setCheckState(i < kMapSetupSlots ? Qt::Checked : Qt::Unchecked);
        RankedList->setItem(i, 0, name);
        RankedList->setItem(i, 1, cell(QString::number(r.score, 'f', 0)));
        QStringList lines;
        for (const ExplainedLine& e : r.explained)
            lines << QString::fromStdString(t->lines()[e.line].name);
        RankedList->setItem(i, 2, cell(lines.join(QStringLiteral(", "))));
    }
}

void LineTablePage::MapButtonClick() {
    LineState& ls = st().lines;
    std::vector<int> chosen;
    for (int i = 0; i < RankedList->rowCount() && i < static_cast<int>(ls.result.ranked.size()); ++i)
        if (RankedList->item(i, 0) && RankedList->item(i, 0)->checkState() == Qt::Checked)
            chosen.push_back(ls.result.ranked[i].source);
    if (chosen.empty()) {
        svc().alerts.message(QStringLiteral("マップにする元素がありません。先に同定してください。"));
        return;
    }
    if (static_cast<int>(chosen.size()) > kMapSetupSlots) {
        svc().alerts.message(QStringLiteral("マップにできる元素は20までです。"));
        return;
    }
    // The ROIs are channels of MCA1: its calibration, else the identified slot's.
    EnergyScale scale = EnergyScale::ofSlot(rec(), 0);
    if (!scale.valid()) scale = EnergyScale::ofSlot(rec(), ls.slot);
    const auto plan = planMaps(LineTable::of(ls.table), ls.result, ls.peaks, chosen, scale);
    if (plan.empty()) {
        svc().alerts.message(QStringLiteral("MCA1のチャンネルに元素の線がありません。"));
        return;
    }
    if (mapPlanReplaces(rec(), plan) &&
        !svc().dialogs.confirm(QStringLiteral("map these"),
                               QStringLiteral("MCA1のROI 1..%1 とマップROIの設定を置き換えます。よろしいですか?")
                                   .arg(plan.size())))
        return;
    applyMapPlan(rec(), plan);
    if (mapSlotsChanged) mapSlotsChanged();
    QStringList names;
    for (const MapPlanEntry& e : plan) names << QString::fromStdString(e.name);
    svc().alerts.status(QStringLiteral("マップROI: ") + names.join(QStringLiteral(", ")));
    main().ShowCurrentRoi();
    main().DrawSpectrum();
}

}  // namespace qor
