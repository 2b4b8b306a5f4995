// The eight dialogs: created at start-up in their order, with their captions, controls and texts,
// OK/Cancel wiring, and the record storing of the dialogs that edit record fields.

#include "app/RadioGroup.h"
#include "analysis/TOKRightDlg.h"
#include "analysis/TSmoothDlg.h"
#include "analysis/TTeiseiDlg.h"
#include "analysis/TecalDlg.h"
#include "app/PaintBox.h"
#include "app/TOKBottomDlg.h"
#include "app/TextCodec.h"
#include "scan/TOKRightDlg1.h"
#include "spectrum/TDlgSameF.h"
#include "spectrum/TOKRightDlg2.h"
#include "support/Harness.h"

#include <QApplication>
#include <QMouseEvent>
#include <QRadioButton>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace qor;
using namespace qor::test;

namespace {

QStringList textsOf(const QDialog* d) {
    QStringList t;
    for (const QLabel* l : d->findChildren<QLabel*>()) t << l->text();
    for (const QAbstractButton* b : d->findChildren<QAbstractButton*>()) t << b->text();
    for (const QGroupBox* g : d->findChildren<QGroupBox*>()) t << g->title();
    return t;
}

QDialog* dialogNamed(Harness& h, const QString& name) {
    return h.form().findChild<QDialog*>(name, Qt::FindDirectChildrenOnly);
}

// Runs a dialog the way its callers do: through the dialog service, storing only on OK.
template <class D>
void runAndStore(Harness& h, D& dlg, int answer, std::function<void(QDialog&)> typing) {
    h.dialogs.expect({QStringLiteral("exec"), QString(), answer, std::move(typing)});
    if (h.services.dialogs.exec(dlg) == QDialog::Accepted) dlg.storeToRecord();
}

QByteArray recordBytes(const InfoRecord& r) {
    return QByteArray(reinterpret_cast<const char*>(&r), sizeof r);
}

// Every byte of the record outside the given [offset, offset + size) ranges is the same.
struct Range { size_t offset, size; };
void expectOnlyChanged(const QByteArray& before, const InfoRecord& after,
                       std::initializer_list<Range> changed) {
    const QByteArray now = recordBytes(after);
    ASSERT_EQ(before.size(), now.size());
    for (qsizetype i = 0; i < now.size(); ++i) {
        const size_t at = static_cast<size_t>(i);
        bool inside = false;
        for (const Range& r : changed) inside = inside || (at >= r.offset && at < r.offset + r.size);
        if (!inside) ASSERT_EQ(before[i], now[i]) << "record byte " << i << " changed";
    }
}

}  // namespace

TEST(Dialogs, AllEightExistAfterStartupInTheirOrderWithTheirCaptions) {
    Harness h;
    const DialogSet& d = h.form().dialogs;
    struct Row { QDialog* dlg; const char* name; const char* caption; };
    const std::vector<Row> rows = {
        {d.OKRightDlg2, "OKRightDlg2", "保存スペクトルへのコメント"},
        {d.DlgSameF, "DlgSameF", "Same name File !"},
        {d.TeiseiDlg, "TeiseiDlg", "定性処理のパラメータ確認　"},
        {d.SmoothDlg, "SmoothDlg", nullptr},
        {d.ecalDlg, "ecalDlg", "エネルギー校正"},
        {d.OKRightDlg, "OKRightDlg", "実行しますか?"},
        {d.OKBottomDlg, "OKBottomDlg", nullptr},
        {d.OKRightDlg1, "OKRightDlg1", "二次元スキャン自動測定開始の確認"},
    };
    QStringList order;
    for (const QObject* o : h.form().children())
        if (qobject_cast<const QDialog*>(o)) order << o->objectName();
    QStringList expected;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_NE(nullptr, r.dlg);
        EXPECT_EQ(QString::fromLatin1(r.name), r.dlg->objectName());
        if (r.caption) EXPECT_EQ(QString::fromUtf8(r.caption), r.dlg->windowTitle());
        EXPECT_TRUE(r.dlg->isModal());
        EXPECT_FALSE(r.dlg->isVisible()) << "no dialog shows itself";
        EXPECT_EQ(&h.form(), r.dlg->parentWidget());
        expected << QString::fromLatin1(r.name);
    }
    EXPECT_EQ(expected, order) << "created once, in this order";
    EXPECT_TRUE(h.dialogs.asked.isEmpty()) << "start-up runs no dialog";
}

TEST(Dialogs, AnalysisDialogsAreOkBottomDialogs) {
    Harness h;
    const DialogSet& d = h.form().dialogs;
    EXPECT_NE(nullptr, dynamic_cast<TOKBottomDlg*>(d.TeiseiDlg));
    EXPECT_NE(nullptr, dynamic_cast<TOKBottomDlg*>(d.ecalDlg));
    EXPECT_NE(nullptr, dynamic_cast<TOKBottomDlg*>(d.SmoothDlg));
}

TEST(Dialogs, StaticTextsAndButtonCaptions) {
    Harness h;
    struct Row { const char* dialog; std::vector<const char*> texts; };
    const std::vector<Row> rows = {
        {"OKRightDlg2", {"保存するデータにコメントを入力できます。",
                         "バイナリ形式の場合は32文字までのコメント1行",
                         "CSV形式の場合は、64文字でのコメントを、２行入力できます。",
                         "半角文字のみで、入力してください。", "コメント-1", "コメント-2", "OK",
                         "キャンセル"}},
        {"DlgSameF", {"Same name file exsit !", "Overwrite ?", "上書きする", "CANCEL"}},
        {"TeiseiDlg", {"　ピークサーチ・自動ROI パラメータ―　", "微分パラメータ点数指定の時",
                       "予想半値幅", "ch", "　データスムース処理　", "移動平均点数",
                       "点平均で実行する", "ピーク構成点数が多い検出器の場合は単純1-2-1を選択し",
                       "適当な奇数の点数を指定してください。",
                       "結果スペクトルはWorkスペクトルに入ります", "OK", "キャンセル"}},
        {"ecalDlg", {"ROI#1..8のエネルギー指定", "ROI#", "peakch", "energy", "ROI-1", "ROI-8",
                     "エネルギーの単位", "この条件で校正式を算出する",
                     " f(x)= a + bx + cx^2 +dx^3", "a=", "b=", "c=", "d=", "OK", "キャンセル"}},
        {"OKRightDlg", {"OK", "キャンセル"}},
        {"OKRightDlg1", {"自動測定を開始します。", "開始しますか?", "OK", "キャンセル"}},
    };
    for (const Row& r : rows) {
        QDialog* dlg = dialogNamed(h, QString::fromLatin1(r.dialog));
        ASSERT_NE(nullptr, dlg) << r.dialog;
        const QStringList texts = textsOf(dlg);
        for (const char* t : r.texts)
            EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << r.dialog << ": " << t;
    }
}

TEST(Dialogs, NamedControlsExist) {
    Harness h;
    struct Row { const char* dialog; const char* control; const char* type; };
    const std::vector<Row> rows = {
        {"OKRightDlg2", "Edit1", "QLineEdit"},   {"OKRightDlg2", "Edit2", "QLineEdit"},
        {"DlgSameF", "Image1", "QLabel"},        {"OKRightDlg1", "Image2", "qor::ClickImage"},
        {"OKRightDlg", "Label1", "QLabel"},      {"OKRightDlg", "Label2", "QLabel"},
        {"TeiseiDlg", "GroupBox2", "QGroupBox"}, {"TeiseiDlg", "GroupBox3", "QGroupBox"},
        {"TeiseiDlg", "GroupBox1", "QGroupBox"}, {"TeiseiDlg", "Edit1", "QLineEdit"},
        {"TeiseiDlg", "Edit2", "QLineEdit"},     {"TeiseiDlg", "Edit3", "QLineEdit"},
        {"TeiseiDlg", "Image1", "QLabel"},       {"ecalDlg", "Edit9", "QLineEdit"},
        {"ecalDlg", "Button1", "QPushButton"},   {"ecalDlg", "Imageecal", "qor::PaintBox"},
        {"ecalDlg", "Edit10", "QLineEdit"},      {"ecalDlg", "Edit13", "QLineEdit"},
    };
    for (const Row& r : rows) {
        QDialog* dlg = dialogNamed(h, QString::fromLatin1(r.dialog));
        ASSERT_NE(nullptr, dlg) << r.dialog;
        const QList<QWidget*> found = dlg->findChildren<QWidget*>(QString::fromLatin1(r.control));
        ASSERT_EQ(1, found.size()) << r.dialog << "." << r.control << " exactly once";
        EXPECT_TRUE(found[0]->inherits(r.type)) << r.dialog << "." << r.control;
    }
    // The eight calibration rows: check box, channel label and energy box by ROI number.
    TecalDlg& e = *h.form().dialogs.ecalDlg;
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE(k);
        ASSERT_NE(nullptr, e.rowCheck(k));
        EXPECT_EQ(QStringLiteral("CheckBox%1").arg(k), e.rowCheck(k)->objectName());
        EXPECT_EQ(QStringLiteral("ROI-%1").arg(k), e.rowCheck(k)->text());
        EXPECT_EQ(QStringLiteral("Label%1").arg(k + 2), e.rowChannel(k)->objectName());
        EXPECT_EQ(QStringLiteral("Edit%1").arg(k), e.rowEnergy(k)->objectName());
    }
    EXPECT_EQ(nullptr, e.rowCheck(0));
    EXPECT_EQ(nullptr, e.rowEnergy(9));
    EXPECT_EQ(e.CheckBox1, e.rowCheck(1));
    EXPECT_EQ(e.Label10, e.rowChannel(8));
    EXPECT_EQ(e.Edit8, e.rowEnergy(8));
}

TEST(Dialogs, RadioGroupsCarryTheirCaptionsAndItems) {
    Harness h;
    struct Row { const char* dialog; const char* group; const char* caption;
                 std::vector<const char*> items; };
    const std::vector<Row> rows = {
        {"TeiseiDlg", "RadioGroup1", "ピーク幅の設定",
         {"ピーク構成　10ch以下", "ピーク構成　30ch以下", "ピーク構成　100ch.."}},
        {"TeiseiDlg", "RadioGroup2", "ピークサーチ微分パラメータ",
         {"ガウス　7点", "ガウス　9点", "ガウス 13点", "多項式　7点", "多項式　9点",
          "多項式　13点", "点数指定"}},
        {"TeiseiDlg", "RadioGroup3", "判定基準σ",
         {"1.5", "2.0", "2.5", "3.0", "3.5", "4.0", "4.5", "5.0"}},
        {"TeiseiDlg", "RadioGroup6", "　ピーク幅　", {"Ge,Siなどのピーク", "NaIの様な幅広いピーク"}},
        {"TeiseiDlg", "RadioGroup4", "フィルタの選択", {"単純1-2-1", "多項式", "移動平均"}},
        {"TeiseiDlg", "RadioGroup5", "平滑点数", {"5", "7", "9"}},
        {"ecalDlg", "RadioGroup1", "校正式", {"1次式", "2次式", "3次式"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.dialog) + "." + r.group);
        QDialog* dlg = dialogNamed(h, QString::fromLatin1(r.dialog));
        ASSERT_NE(nullptr, dlg);
        auto* g = dlg->findChild<RadioGroup*>(QString::fromLatin1(r.group));
        ASSERT_NE(nullptr, g);
        EXPECT_EQ(QString::fromUtf8(r.caption), g->title());
        ASSERT_EQ(static_cast<int>(r.items.size()), g->count());
        for (int i = 0; i < g->count(); ++i) EXPECT_EQ(QString::fromUtf8(r.items[i]), g->item(i));
    }
}

TEST(Dialogs, RadioGroupItemIndexIsExclusiveAndMinusOneWhenNoneSelected) {
    Harness h;
    RadioGroup& g = *h.form().dialogs.TeiseiDlg->RadioGroup3;
    g.setItemIndex(5);
    EXPECT_EQ(5, g.itemIndex());
    g.button(2)->click();   // the operator picks another item
    EXPECT_EQ(2, g.itemIndex());
    EXPECT_FALSE(g.button(5)->isChecked());
    for (int bad : {-1, 8, 1000}) {
        g.setItemIndex(bad);
        EXPECT_EQ(-1, g.itemIndex()) << bad;
    }
    g.setItemIndex(7);
    EXPECT_EQ(7, g.itemIndex());
    EXPECT_EQ(nullptr, g.button(8));
    EXPECT_TRUE(g.item(-1).isEmpty());
}

TEST(Dialogs, OkAcceptsCancelRejectsOkIsTheDefault) {
    Harness h;
    const DialogSet& d = h.form().dialogs;
    const std::vector<QDialog*> all = {d.OKRightDlg2, d.DlgSameF, d.TeiseiDlg, d.SmoothDlg,
                                       d.ecalDlg, d.OKRightDlg, d.OKBottomDlg, d.OKRightDlg1};
    for (QDialog* dlg : all) {
        SCOPED_TRACE(dlg->objectName().toStdString());
        auto* ok = dlg->findChild<QPushButton*>(QStringLiteral("OKBtn"));
        auto* cancel = dlg->findChild<QPushButton*>(QStringLiteral("CancelBtn"));
        ASSERT_NE(nullptr, ok);
        ASSERT_NE(nullptr, cancel);
        EXPECT_TRUE(ok->isDefault());
        dlg->setResult(-1);
        ok->click();
        EXPECT_EQ(QDialog::Accepted, dlg->result());
        dlg->setResult(-1);
        cancel->click();
        EXPECT_EQ(QDialog::Rejected, dlg->result());
    }
}

TEST(Dialogs, CalibrationConfirmationShowsTheCallersLines) {
    Harness h;
    TOKRightDlg& d = *h.form().dialogs.OKRightDlg;
    d.setLines(QStringLiteral("現在のROI#1..8 を校正用のROI領域として"),
               QStringLiteral("記録しても良いですか?"));
    EXPECT_EQ(QStringLiteral("現在のROI#1..8 を校正用のROI領域として"), d.Label1->text());
    EXPECT_EQ(QStringLiteral("記録しても良いですか?"), d.Label2->text());
}

TEST(Dialogs, ScanStartPictureClickPlaysItsCue) {
    Harness h;
    TOKRightDlg1& d = *h.form().dialogs.OKRightDlg1;
    h.sounds.played.clear();
    const QPointF at(5, 5);
    QMouseEvent right(QEvent::MouseButtonPress, at, d.Image2->mapToGlobal(at), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(d.Image2, &right);
    EXPECT_TRUE(h.sounds.played.isEmpty()) << "only the left button clicks";
    QMouseEvent left(QEvent::MouseButtonPress, at, d.Image2->mapToGlobal(at), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(d.Image2, &left);
    EXPECT_EQ(QStringList{QStringLiteral("2dscanOKpeng.wav")}, h.sounds.played);
}

// ---- Analysis parameters dialog ----

TEST(ParametersDialog, DefaultRecordOpensWithFirstItemsAndTenZeroZero) {
    Harness h;
    TTeiseiDlg& d = *h.form().dialogs.TeiseiDlg;
    d.loadFromRecord();
    for (RadioGroup* g : {d.RadioGroup1, d.RadioGroup2, d.RadioGroup3, d.RadioGroup4,
                          d.RadioGroup5})
        EXPECT_EQ(0, g->itemIndex()) << g->objectName().toStdString();
    EXPECT_EQ(QStringLiteral("10"), d.Edit1->text());
    EXPECT_EQ(QStringLiteral("0"), d.Edit2->text());
    EXPECT_EQ(QStringLiteral("0"), d.Edit3->text());
}

TEST(ParametersDialog, LoadShowsEveryFieldAndOkStoresTheSelections) {
    Harness h;
    InfoRecord& r = h.rec();
    r.PeakWidthIndex = 2;
    r.DerivFilterIndex = 6;
    r.SigmaIndex = 7;
    r.SmoothFilter = 1;
    r.SmoothPointsIndex = 2;
    r.DerivPoints = 15;
    r.SmoothAveragePoints = 5;
    r.ExpectedFwhm = 12;
    TTeiseiDlg& d = *h.form().dialogs.TeiseiDlg;
    d.loadFromRecord();
    EXPECT_EQ(2, d.RadioGroup1->itemIndex());
    EXPECT_EQ(6, d.RadioGroup2->itemIndex());
    EXPECT_EQ(7, d.RadioGroup3->itemIndex());
    EXPECT_EQ(1, d.RadioGroup4->itemIndex());
    EXPECT_EQ(2, d.RadioGroup5->itemIndex());
    EXPECT_EQ(QStringLiteral("15"), d.Edit1->text());
    EXPECT_EQ(QStringLiteral("5"), d.Edit2->text());
    EXPECT_EQ(QStringLiteral("12"), d.Edit3->text());

    const QByteArray before = recordBytes(r);
    runAndStore(h, d, QDialog::Accepted, [&](QDialog&) {
        d.RadioGroup1->button(1)->click();
        d.RadioGroup2->button(3)->click();
        d.RadioGroup3->button(4)->click();
        d.RadioGroup4->button(2)->click();
        d.RadioGroup5->button(0)->click();
        d.Edit1->setText(QStringLiteral("7"));
        d.Edit2->setText(QStringLiteral("-3"));
        d.Edit3->setText(QStringLiteral("  25"));
    });
    EXPECT_EQ(QStringList{QStringLiteral("TeiseiDlg")}, h.dialogs.asked);
    EXPECT_EQ(1, r.PeakWidthIndex);
    EXPECT_EQ(3, r.DerivFilterIndex);
    EXPECT_EQ(4, r.SigmaIndex);
    EXPECT_EQ(2, r.SmoothFilter);
    EXPECT_EQ(0, r.SmoothPointsIndex);
    EXPECT_EQ(7, r.DerivPoints);
    EXPECT_EQ(-3, r.SmoothAveragePoints) << "no range check";
    EXPECT_EQ(25, r.ExpectedFwhm);
    // Only the eight fields (12300..12331) change.
    expectOnlyChanged(before, r, {{offsetof(InfoRecord, SmoothFilter), 32}});
}

TEST(ParametersDialog, CancelChangesNothingEvenAfterEditing) {
    Harness h;
    TTeiseiDlg& d = *h.form().dialogs.TeiseiDlg;
    d.loadFromRecord();
    const QByteArray before = recordBytes(h.rec());
    runAndStore(h, d, QDialog::Rejected, [&](QDialog&) {
        d.RadioGroup1->button(2)->click();
        d.RadioGroup4->button(2)->click();
        d.Edit1->setText(QStringLiteral("99"));
        d.Edit2->setText(QStringLiteral("9"));
    });
    EXPECT_EQ(before, recordBytes(h.rec()));
}

TEST(ParametersDialog, IntegerBoxesTakeTheLeadingNumberOrKeepTheField) {
    Harness h;
    TTeiseiDlg& d = *h.form().dialogs.TeiseiDlg;
    d.loadFromRecord();
    runAndStore(h, d, QDialog::Accepted, [&](QDialog&) {
        d.Edit1->setText(QStringLiteral("12abc"));
        d.Edit2->setText(QStringLiteral("x5"));
        d.Edit3->setText(QString());
    });
    EXPECT_EQ(12, h.rec().DerivPoints);
    EXPECT_EQ(0, h.rec().SmoothAveragePoints);
    EXPECT_EQ(0, h.rec().ExpectedFwhm);
    h.rec().SmoothAveragePoints = 7;
    d.loadFromRecord();
    runAndStore(h, d, QDialog::Accepted, [&](QDialog&) { d.Edit2->setText(QStringLiteral("abc")); });
    EXPECT_EQ(7, h.rec().SmoothAveragePoints) << "a text without a number keeps the field";
}

TEST(ParametersDialog, PeakKindGroupIsNeitherLoadedNorStored) {
    Harness h;
    TTeiseiDlg& d = *h.form().dialogs.TeiseiDlg;
    d.RadioGroup6->setItemIndex(1);
    d.loadFromRecord();
    EXPECT_EQ(1, d.RadioGroup6->itemIndex()) << "loading leaves it alone";
    const QByteArray before = recordBytes(h.rec());
    runAndStore(h, d, QDialog::Accepted, [&](QDialog&) { d.RadioGroup6->button(0)->click(); });
    EXPECT_EQ(before, recordBytes(h.rec()));
}

TEST(ParametersDialog, IndexOutsideItsItemsSelectsNoneAndOkKeepsIt) {
    Harness h;
    h.rec().DerivFilterIndex = 40;
    h.rec().SigmaIndex = -2;
    TTeiseiDlg& d = *h.form().dialogs.TeiseiDlg;
    d.loadFromRecord();
    EXPECT_EQ(-1, d.RadioGroup2->itemIndex());
    EXPECT_EQ(-1, d.RadioGroup3->itemIndex());
    runAndStore(h, d, QDialog::Accepted, [](QDialog&) {});
    EXPECT_EQ(40, h.rec().DerivFilterIndex);
    EXPECT_EQ(-2, h.rec().SigmaIndex);
    d.loadFromRecord();
    runAndStore(h, d, QDialog::Accepted, [&](QDialog&) { d.RadioGroup3->button(3)->click(); });
    EXPECT_EQ(3, h.rec().SigmaIndex) << "a choice of the operator is stored";
}

// ---- Save-comment dialog ----

TEST(CommentDialog, OffersTheRecordCommentsAndStoresThemOnOk) {
    Harness h;
    storeSjis(h.rec().SpectrumComment1, QStringLiteral("sample A"));
    storeSjis(h.rec().SpectrumComment2, QStringLiteral("試料B"));
    TOKRightDlg2& d = *h.form().dialogs.OKRightDlg2;
    d.loadFromRecord();
    EXPECT_EQ(QStringLiteral("sample A"), d.Edit1->text());
    EXPECT_EQ(QStringLiteral("試料B"), d.Edit2->text());
    runAndStore(h, d, QDialog::Accepted, [&](QDialog&) {
        d.Edit1->setText(QStringLiteral("Fe foil 10um"));
        d.Edit2->setText(QString());
    });
    EXPECT_STREQ("Fe foil 10um", h.rec().SpectrumComment1);
    EXPECT_STREQ("", h.rec().SpectrumComment2);
}

TEST(CommentDialog, CancelKeepsTheRecordComments) {
    Harness h;
    storeSjis(h.rec().SpectrumComment1, QStringLiteral("kept"));
    TOKRightDlg2& d = *h.form().dialogs.OKRightDlg2;
    d.loadFromRecord();
    runAndStore(h, d, QDialog::Rejected,
                [&](QDialog&) { d.Edit1->setText(QStringLiteral("typed")); });
    EXPECT_STREQ("kept", h.rec().SpectrumComment1);
}

TEST(CommentDialog, LongCommentsAreCutInsideTheirFields) {
    Harness h;
    TOKRightDlg2& d = *h.form().dialogs.OKRightDlg2;
    d.loadFromRecord();
    const QByteArray before = recordBytes(h.rec());
    // 79 double-byte characters: 158 bytes, more than the field holds.
    runAndStore(h, d, QDialog::Accepted, [&](QDialog&) {
        d.Edit1->setText(QString(79, QChar(0x8A66)));   // 試
        d.Edit2->setText(QString(79, QLatin1Char('z')));
    });
    const InfoRecord& r = h.rec();
    EXPECT_EQ(78u, std::strlen(r.SpectrumComment1)) << "39 whole characters, then the NUL";
    EXPECT_EQ(QString(39, QChar(0x8A66)), fromSjis(r.SpectrumComment1));
    EXPECT_EQ(QString(79, QLatin1Char('z')), fromSjis(r.SpectrumComment2)) << "79 bytes fit";
    EXPECT_EQ('\0', r.SpectrumComment2[79]);
    expectOnlyChanged(before, r, {{offsetof(InfoRecord, SpectrumComment1), 160}});
}

// ---- Energy calibration dialog ----

TEST(CalibrationDialog, PlotAreaIsWhiteWithABlackFrame) {
    Harness h;
    const PaintBox& p = *h.form().dialogs.ecalDlg->Imageecal;
    EXPECT_EQ(QSize(258, 258), p.size());
    const QImage& img = p.shownImage();
    ASSERT_EQ(QSize(258, 258), img.size());
    for (int i = 0; i < 258; i += 37) {
        EXPECT_EQ(qRgb(0, 0, 0), img.pixel(i, 0)) << "top " << i;
        EXPECT_EQ(qRgb(0, 0, 0), img.pixel(i, 257)) << "bottom " << i;
        EXPECT_EQ(qRgb(0, 0, 0), img.pixel(0, i)) << "left " << i;
        EXPECT_EQ(qRgb(0, 0, 0), img.pixel(257, i)) << "right " << i;
    }
    EXPECT_EQ(qRgb(255, 255, 255), img.pixel(1, 1));
    EXPECT_EQ(qRgb(255, 255, 255), img.pixel(129, 129));
    EXPECT_EQ(qRgb(255, 255, 255), img.pixel(256, 256));
}

TEST(CalibrationDialog, PrepareShowsReferenceChannelsEnergiesOrderUnitAndCoefficients) {
    Harness h;
    InfoRecord& r = h.rec();
    auto& counts = h.st().spectrum.slot[0];
    std::fill(std::begin(counts), std::end(counts), 0);
    r.RoiStart[0][1] = 100; r.RoiEnd[0][1] = 110; counts[104] = 50;   // narrow: highest
    r.RoiStart[0][3] = 500; r.RoiEnd[0][3] = 540;                      // wide: median
    for (int c = 500; c <= 540; ++c) counts[c] = 10;
    // ROI 2 and 4..8 unset.
    r.CalibEnergy[0][1] = 6.4;
    r.CalibEnergy[0][3] = 17.479;
    r.CalibEnergy[0][2] = 8.04;
    r.CalibOrder[0] = 1;
    r.CalibA[0] = 0.25; r.CalibB[0] = 0.01; r.CalibC[0] = -1e-7; r.CalibD[0] = 3e-11;
    TecalDlg& d = *h.form().dialogs.ecalDlg;
    ASSERT_TRUE(d.prepare(0));
    EXPECT_EQ(0, d.preparedSlot());
    EXPECT_TRUE(d.CheckBox1->isChecked());
    EXPECT_FALSE(d.CheckBox2->isChecked());
    EXPECT_TRUE(d.CheckBox3->isChecked());
    EXPECT_EQ(QStringLiteral("104"), d.Label3->text());
    EXPECT_EQ(QStringLiteral("0"), d.Label4->text());
    EXPECT_EQ(QStringLiteral("520"), d.Label5->text());
    EXPECT_EQ(104, d.RefChannel[1]);
    EXPECT_EQ(520, d.RefChannel[3]);
    for (int k = 4; k <= 8; ++k) EXPECT_FALSE(d.rowCheck(k)->isChecked()) << k;
    EXPECT_EQ(QStringLiteral("     6.400"), d.Edit1->text());
    EXPECT_EQ(QStringLiteral("     8.040"), d.Edit2->text());
    EXPECT_EQ(QStringLiteral("    17.479"), d.Edit3->text());
    EXPECT_EQ(QStringLiteral("     0.000"), d.Edit8->text());
    EXPECT_DOUBLE_EQ(6.4, d.RefEnergy[1]);
    EXPECT_EQ(1, d.RadioGroup1->itemIndex());
    EXPECT_EQ(QStringLiteral("keV"), d.Edit9->text());
    EXPECT_EQ(QStringLiteral("0.25"), d.Edit10->text());
    EXPECT_EQ(QStringLiteral("0.01"), d.Edit11->text());
    EXPECT_EQ(QStringLiteral("-1e-07"), d.Edit12->text());
    EXPECT_EQ(QStringLiteral("3e-11"), d.Edit13->text());
}

TEST(CalibrationDialog, OkStoresEnergiesUnitOrderIntoThePreparedSlotOnly) {
    Harness h;
    InfoRecord& r = h.rec();
    r.CalibEnergy[1][2] = 5.9;
    TecalDlg& d = *h.form().dialogs.ecalDlg;
    ASSERT_TRUE(d.prepare(1));
    const QByteArray before = recordBytes(r);
    runAndStore(h, d, QDialog::Accepted, [&](QDialog&) {
        d.Edit1->setText(QStringLiteral("  59.54"));
        d.Edit2->setText(QStringLiteral("n/a"));    // not a number: keeps 5.9
        d.Edit8->setText(QStringLiteral("1332.5keV"));
        d.Edit9->setText(QStringLiteral("MeV"));
        d.RadioGroup1->button(2)->click();
    });
    EXPECT_DOUBLE_EQ(59.54, r.CalibEnergy[1][1]);
    EXPECT_DOUBLE_EQ(5.9, r.CalibEnergy[1][2]);
    EXPECT_DOUBLE_EQ(1332.5, r.CalibEnergy[1][8]);
    EXPECT_STREQ("MeV", r.EnergyUnit[1]);
    EXPECT_EQ(2, r.CalibOrder[1]);
    EXPECT_STREQ("keV", r.EnergyUnit[0]) << "slot 0 untouched";
    EXPECT_EQ(0, r.CalibOrder[0]);
    // Slot 1's energies, unit and order; its coefficients are stored as they were.
    expectOnlyChanged(before, r, {{offsetof(InfoRecord, CalibEnergy) + 16 * 8, 16 * 8},
                                  {offsetof(InfoRecord, EnergyUnit) + 16, 16},
                                  {offsetof(InfoRecord, CalibOrder) + 4, 4}});
}

TEST(CalibrationDialog, OkWithoutComputationKeepsTheSlotsCoefficients) {
    Harness h;
    InfoRecord& r = h.rec();
    r.CalibA[0] = 1.5; r.CalibB[0] = 0.02; r.CalibC[0] = 0; r.CalibD[0] = 0;
    r.CalibA[1] = -3; r.CalibB[1] = 0.5; r.CalibC[1] = 1e-6; r.CalibD[1] = 2e-9;
    TecalDlg& d = *h.form().dialogs.ecalDlg;
    ASSERT_TRUE(d.prepare(1));
    runAndStore(h, d, QDialog::Accepted, [](QDialog&) {});
    EXPECT_DOUBLE_EQ(-3, r.CalibA[1]);
    EXPECT_DOUBLE_EQ(0.5, r.CalibB[1]);
    EXPECT_DOUBLE_EQ(1e-6, r.CalibC[1]);
    EXPECT_DOUBLE_EQ(2e-9, r.CalibD[1]);
    // A later opening for another slot does not carry slot 1's coefficients over.
    ASSERT_TRUE(d.prepare(0));
    runAndStore(h, d, QDialog::Accepted, [](QDialog&) {});
    EXPECT_DOUBLE_EQ(1.5, r.CalibA[0]);
    EXPECT_DOUBLE_EQ(0.02, r.CalibB[0]);
    // Computed coefficients (set by the fit) are what OK stores.
    ASSERT_TRUE(d.prepare(0));
    d.ComputedA = 0; d.ComputedB = 0.5; d.ComputedC = 0; d.ComputedD = 0;
    runAndStore(h, d, QDialog::Accepted, [](QDialog&) {});
    EXPECT_DOUBLE_EQ(0, r.CalibA[0]);
    EXPECT_DOUBLE_EQ(0.5, r.CalibB[0]);
}

TEST(CalibrationDialog, CancelStoresNothing) {
    Harness h;
    TecalDlg& d = *h.form().dialogs.ecalDlg;
    ASSERT_TRUE(d.prepare(0));
    const QByteArray before = recordBytes(h.rec());
    runAndStore(h, d, QDialog::Rejected, [&](QDialog&) {
        d.Edit1->setText(QStringLiteral("100"));
        d.Edit9->setText(QStringLiteral("eV"));
        d.RadioGroup1->button(1)->click();
    });
    EXPECT_EQ(before, recordBytes(h.rec()));
}

TEST(CalibrationDialog, LongUnitIsCutToItsFieldAndBadSlotsAreRefused) {
    Harness h;
    TecalDlg& d = *h.form().dialogs.ecalDlg;
    EXPECT_EQ(15, d.Edit9->maxLength());
    EXPECT_FALSE(d.storeToRecord()) << "nothing prepared yet";
    ASSERT_TRUE(d.prepare(2));
    const QByteArray before = recordBytes(h.rec());
    d.Edit9->setText(QString(15, QChar(0x30AD)));   // キ: 30 bytes in Shift-JIS
    ASSERT_TRUE(d.storeToRecord());
    EXPECT_EQ(14u, std::strlen(h.rec().EnergyUnit[2])) << "7 whole characters and the NUL";
    EXPECT_EQ(0, std::memcmp(before.constData() + offsetof(InfoRecord, EnergyUnit) + 3 * 16,
                             reinterpret_cast<const char*>(&h.rec()) +
                                 offsetof(InfoRecord, EnergyUnit) + 3 * 16,
                             16))
        << "the next slot's unit is not touched";
    for (int bad : {-1, 3, 4, 7, 100}) EXPECT_FALSE(d.prepare(bad)) << bad;
    EXPECT_EQ(2, d.preparedSlot()) << "a refused slot leaves the prepared one";
}

TEST(CalibrationDialog, OrderOutsideItsItemsSelectsNoneAndOkKeepsIt) {
    Harness h;
    h.rec().CalibOrder[0] = 9;
    TecalDlg& d = *h.form().dialogs.ecalDlg;
    ASSERT_TRUE(d.prepare(0));
    EXPECT_EQ(-1, d.RadioGroup1->itemIndex());
    ASSERT_TRUE(d.storeToRecord());
    EXPECT_EQ(9, h.rec().CalibOrder[0]);
}
