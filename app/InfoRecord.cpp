#include "app/InfoRecord.h"

#include "app/TextCodec.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qor {

namespace {
// ASCII default texts, cut to fit with their NUL.
template <std::size_t N>
void setText(char (&field)[N], const char* ascii) {
    std::memset(field, 0, N);
    const std::size_t len = std::min(std::strlen(ascii), N - 1);
    std::memcpy(field, ascii, len);
}
}  // namespace

void setCreationDefaults(InfoRecord& r, const char* startDirWithSlash) {
    setText(r.RootPath, "c:\\");
    storeSjis(r.SaveFolder, QString::fromLocal8Bit(startDirWithSlash));
    setText(r.UsbSerial, "B4721mRT");
    for (int n = 0; n < 8; ++n) {
        r.MotorLogicalPulses[n] = 100;
        r.MotorInitSpeed[n] = 50;
        r.MotorMaxSpeed[n] = 200;
        r.MotorRampParam[n] = 100;
        r.MotorAccelIndex[n] = 0;
        r.MotorDriverPulseMode[n] = 1;
        r.SoftLimitMinus[n] = -45.0;
        r.SoftLimitPlus[n] = 45.0;
        char name[16];
        std::snprintf(name, sizeof name, "MOTOR%d", n + 1);
        setText(r.MotorName[n], name);
        r.MotorHexSw[n] = n < 4 ? 2 : 3;
        r.MotorPort[n] = n % 4;
        r.MotorEnabled[n] = n < 4 ? 1 : 0;
    }
    r.CollectRepeatCount = 100;
    r.StartPresetValue = 100;
    r.reserved1828 = 1024;
    r.SaveBinary = 1;
    r.SaveCsv = 0;
    setText(r.CollectName, "CAVREL");
    r.MapChannelIndex = 3;
    r.reserved1920[0] = 1;
    r.reserved1920[1] = 1;
    setText(r.RunName, "GAVREL");
    r.ScanXSteps = 10;
    r.ScanYSteps = 10;
    r.ScanRepeat = 1;
    r.ScanXSpeedPps = 10;
    r.ScanXPixelPulses = 10;
    r.ScanYPixelPulses = 10;
    r.JogStepY = 1.0;
    r.JogStepX = 1.0;
    r.ZCount = 1;
    r.ZStart = 0.0;
    r.ZEnd = 1.0;
    r.ZStep = 0.1;
    r.ScanXEnd = 1.0;
    r.ScanXStep = 0.1;
    r.ScanYEnd = 1.0;
    r.ScanYStep = 0.1;
    const QString elementPrompt = QStringLiteral("元素名など入力");
    for (int k = 0; k < 32; ++k) {
        r.MapRoiKind[k] = 1;
        storeSjis(r.MapRoiElementName[k], elementPrompt);
    }
    r.reserved3384 = 1;
    r.ViewLineMode = 1;
    r.reserved3392[0] = 2;
    r.reserved3392[1] = 2;
    r.reserved3392[2] = 764;
    r.reserved3392[3] = 1020;
    for (int s = 0; s < 2; ++s) {
        r.SlotViewChannels[s] = 2048;
        r.McaChannels[s] = 2048;
        r.McaPresetValue[s] = 1000;
        r.reserved3536[s] = 1;
        setText(r.EnergyUnit[s], "keV");
    }
    for (int s = 0; s < 5; ++s)
        for (int k = 0; k < 100; ++k) r.RoiStart[s][k] = r.RoiEnd[s][k] = 0;
    r.DerivPoints = 10;
    r.VoiceOn = 1;
    r.Mca1Enabled = 1;
    r.Mca2Enabled = 0;
    setText(r.Mca1Name, "MCA1");
    setText(r.Mca2Name, "MCA2");
    for (int k = 0; k < 3; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "Scaler CH%d", k + 1);
        setText(r.CounterName[k], name);
        r.CounterHexSw[k] = 7;
        r.CounterPort[k] = k;
    }
    r.Mca1HexSw = 1;
    r.Mca2HexSw = 1;
    r.NonStopHexSw = 2;
    r.DebugLogicPulse = 500;
    r.reserved16452 = 1;
    r.MapPixelsX = 256;
    r.MapPixelsY = 256;
    r.MapCellX = 128;
    r.MapCellY = 0;
    r.MapZoom = 1;
    r.MapViewSize[0] = 256;
    r.MapViewSize[1] = 256;
    r.ElemScanSpeedPps = 100;
    r.ElemScanXEnd = 10.0;
    r.ElemScanYEnd = 10.0;
    r.ElemScanYStep = 1.0;
    r.ScanMethod = 1;
}

}  // namespace qor
