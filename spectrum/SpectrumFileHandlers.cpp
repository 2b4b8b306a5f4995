// The main window's handlers of the file buttons, the save folder button, the ROI menu and the
// print button: each hands its work to the file commands or the screen print.

#include "app/TForm9.h"
#include "spectrum/McaPage.h"
#include "spectrum/ScreenPrint.h"
#include "spectrum/SpectrumFileCommands.h"

#include <QMenuBar>

namespace qor {

void TForm9::connectFileCommands() {
    FileCommandHooks hooks;
    hooks.drawSpectrum = [this] { DrawSpectrum(); };
    hooks.showCurrentRoi = [this] { ShowCurrentRoi(); };
    hooks.showWorkSlot = [this] { MCAcollect->showWorkSlot(); };
    hooks.showSaveFolder = [this](const QString& folder) { Edit27->setText(folder); };
    hooks.showReadComments = [this](const QString& c1, const QString& c2) {
        MCAcollect->showReadComments(c1, c2);
    };
    files_ = std::make_unique<SpectrumFileCommands>(*st_, svc_, dialogs, std::move(hooks));

    connect(Button16, &QPushButton::clicked, this, &TForm9::Button16Click);
    connect(SpeedButton16, &QToolButton::clicked, this, &TForm9::SpeedButton16Click);
    connect(SpeedButton17, &QToolButton::clicked, this, &TForm9::SpeedButton17Click);
    connect(SpeedButton18, &QToolButton::clicked, this, &TForm9::SpeedButton18Click);
    connect(SpeedButton19, &QToolButton::clicked, this, &TForm9::SpeedButton19Click);
    connect(SpeedButton15, &QToolButton::clicked, this, &TForm9::SpeedButton15Click);
    connect(SaveROItoFile1, &QAction::triggered, this, &TForm9::SaveROItoFile1Click);
    connect(LoadROIfromFile1, &QAction::triggered, this, &TForm9::LoadROIfromFile1Click);
    connect(SaveSingleROItoFile1, &QAction::triggered, this, &TForm9::SaveSingleROItoFile1Click);
    connect(LoadSingleROIfromFile1, &QAction::triggered, this,
            &TForm9::LoadSingleROIfromFile1Click);
}

void TForm9::Button16Click() { files_->chooseSaveFolder(); }
void TForm9::SpeedButton17Click() { files_->saveBinary(); }
void TForm9::SpeedButton16Click() { files_->readBinary(); }
void TForm9::SpeedButton18Click() { files_->saveCsv(); }
void TForm9::SpeedButton19Click() { files_->readCsv(); }
void TForm9::SaveROItoFile1Click() { files_->saveRoiTable(); }
void TForm9::LoadROIfromFile1Click() { files_->loadRoiTable(); }
void TForm9::SaveSingleROItoFile1Click() { files_->saveCurrentRoi(); }
void TForm9::LoadSingleROIfromFile1Click() { files_->loadCurrentRoi(); }

void TForm9::SpeedButton15Click() {
    if (!printScreen(svc_.printing, [this] { return clientPicture(); }))
        svc_.alerts.status(QStringLiteral("プリンタが印刷を始められません"));
}

QImage TForm9::clientPicture() {
    const int top = menuBar()->isVisible() ? menuBar()->geometry().bottom() + 1 : 0;
    return grab(QRect(0, top, width(), height() - top)).toImage();
}

}  // namespace qor
