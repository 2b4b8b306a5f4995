#pragma once
// The information record: the program's whole persistent configuration, stored byte for byte as
// the information file "QOR10MappingV010.inf" (16584 bytes, little-endian, no header).
//
// Every field sits at its fixed file offset. All fields of the layout are naturally aligned, so
// the struct needs no packing pragma (which would forbid references to its members); the
// static_asserts below pin every offset and the total size, so any padding the compiler might add
// breaks the build instead of the file format.

#include <cstddef>
#include <cstdint>

namespace qor {

constexpr std::size_t kInfoRecordSize = 16584;

struct InfoRecord {
    char RootPath[256];                  // 0     text set at creation only
    char SaveFolder[256];                // 256   initial folder of the file dialogs
    char CollectFileName[256];           // 512   AUTO COLLECT file name (stored only)
    char UsbSerial[20];                  // 768   serial given to the USB open
    int32_t MotorLogicalPulses[8];       // 788   pulses per logical unit
    int32_t MotorInitSpeed[8];           // 820   start speed, pulses/s
    int32_t MotorMaxSpeed[8];            // 852   maximum speed, pulses/s
    int32_t MotorRampParam[8];           // 884   third speed value of the speed setting
    int32_t reserved916[8];              // 916
    int32_t MotorAccelIndex[8];          // 948   0 "大", 1 "中", 2 "小"
    int32_t MotorDriverPulseMode[8];     // 980   0 "1 Pulse", 1 "2 Pulse" (shown only)
    uint8_t reserved1012[260];           // 1012
    double MotorGotoPos[8];              // 1272  GOTO target of motors 3..8
    uint8_t reserved1336[192];           // 1336
    double MotorSetPos[8];               // 1528  EDIT value of motors 3..8
    double SoftLimitMinus[8];            // 1592
    double SoftLimitPlus[8];             // 1656
    uint8_t reserved1720[64];            // 1720
    int32_t MotorSavedPosition[8];       // 1784  pulse address read at close
    int32_t CollectRepeatCount;          // 1816
    int32_t StartPresetValue;            // 1820
    int32_t DebugChannelIndex;           // 1824
    int32_t reserved1828;                // 1828  1024 at creation
    uint8_t AutoCollectMca1;             // 1832
    uint8_t AutoCollectMca2;             // 1833
    uint8_t reserved1834[6];             // 1834
    uint8_t SaveBinary;                  // 1840
    uint8_t SaveCsv;                     // 1841
    char CollectName[66];                // 1842
    int32_t reserved1908;                // 1908  0 at every save
    int32_t CollectMode;                 // 1912
    int32_t MapChannelIndex;             // 1916  0 "256ch" .. 3 "2048ch"
    uint8_t reserved1920[2];             // 1920  1, 1 at creation
    char RunName[66];                    // 1922
    int32_t reserved1988[3];             // 1988
    int32_t ScanXSteps;                  // 2000
    uint8_t reserved2004[4];             // 2004
    int32_t reserved2008[2];             // 2008
    int32_t ScanYSteps;                  // 2016
    int32_t ScanRepeat;                  // 2020
    int32_t ScanXSpeedPps;               // 2024
    int32_t ScanXPixelPulses;            // 2028
    int32_t ScanYPixelPulses;            // 2032
    uint8_t reserved2036[4];             // 2036
    double JogStepY;                     // 2040
    double JogStepX;                     // 2048
    uint8_t ScanUseZ;                    // 2056
    uint8_t reserved2057[3];             // 2057
    int32_t ZCount;                      // 2060
    double ZStart;                       // 2064
    double ZEnd;                         // 2072
    double ZStep;                        // 2080
    double ScanXStart;                   // 2088
    double ScanXEnd;                     // 2096
    double ScanXStep;                    // 2104
    double ScanYStart;                   // 2112
    double ScanYEnd;                     // 2120
    double ScanYStep;                    // 2128
    double MotorJogStep[8];              // 2136  jog step of motors 3..8
    uint8_t MapRoiEnabled[32];           // 2200
    int32_t MapRoiKind[32];              // 2232  0 "NET", 1 "GROSS"
    char MapRoiElementName[32][32];      // 2360
    int32_t reserved3384;                // 3384  1 at creation
    int32_t ViewLineMode;                // 3388  1 lines, 0 dots
    int32_t reserved3392[4];             // 3392  2, 2, 764, 1020 at creation
    int32_t SlotViewChannels[8];         // 3408
    int32_t McaChannels[8];              // 3440
    int32_t McaPresetMode[8];            // 3472  0 Live, 1 Real
    int32_t McaPresetValue[8];           // 3504
    int32_t reserved3536[8];             // 3536  1 for slots 0, 1 at creation
    int32_t RoiStart[8][128];            // 3568
    int32_t RoiEnd[8][128];              // 7664  0 = ROI unset
    int32_t CurrentSlot;                 // 11760
    uint8_t reserved11764[536];          // 11764
    int32_t SmoothFilter;                // 12300
    int32_t SmoothPointsIndex;           // 12304
    int32_t SmoothAveragePoints;         // 12308
    int32_t PeakWidthIndex;              // 12312
    int32_t DerivFilterIndex;            // 12316
    int32_t DerivPoints;                 // 12320
    int32_t SigmaIndex;                  // 12324
    int32_t ExpectedFwhm;                // 12328
    uint8_t reserved12332[4];            // 12332
    int32_t reserved12336[2];            // 12336
    uint8_t reserved12344[4];            // 12344
    int32_t reserved12348;               // 12348
    int32_t CalibRoiStart[8][16];        // 12352
    int32_t CalibRoiEnd[8][16];          // 12864
    int32_t RoiBackupStart[8][16];       // 13376
    int32_t RoiBackupEnd[8][16];         // 13888
    double CalibEnergy[8][16];           // 14400
    char EnergyUnit[8][16];              // 15424
    int32_t CalibOrder[8];               // 15552
    double reserved15584[8];             // 15584
    double CalibA[5];                    // 15648
    double CalibB[5];                    // 15688
    double CalibC[5];                    // 15728
    double CalibD[5];                    // 15768
    uint8_t CsvHeader;                   // 15808
    char SpectrumComment1[80];           // 15809
    char SpectrumComment2[80];           // 15889
    uint8_t reserved15969[3];            // 15969
    int32_t VoiceOn;                     // 15972
    uint8_t Mca1Enabled;                 // 15976
    uint8_t Mca2Enabled;                 // 15977
    uint8_t reserved15978[2];            // 15978
    uint8_t MotorEnabled[8];             // 15980
    uint8_t CounterEnabled[3];           // 15988
    uint8_t reserved15991;               // 15991
    char Mca1Name[16];                   // 15992
    char Mca2Name[16];                   // 16008
    uint8_t reserved16024[32];           // 16024
    char MotorName[8][16];               // 16056
    char CounterName[3][16];             // 16184
    uint8_t reserved16232[16];           // 16232
    int32_t Mca1HexSw;                   // 16248
    int32_t Mca2HexSw;                   // 16252
    uint8_t reserved16256[8];            // 16256
    int32_t MotorHexSw[8];               // 16264
    int32_t CounterHexSw[3];             // 16296
    uint8_t reserved16308[4];            // 16308
    int32_t Mca1Port;                    // 16312
    int32_t Mca2Port;                    // 16316
    uint8_t reserved16320[8];            // 16320
    int32_t MotorPort[8];                // 16328
    int32_t CounterPort[3];              // 16360
    uint8_t reserved16372[4];            // 16372
    int32_t NonStopHexSw;                // 16376
    int32_t DebugSpeedPps;               // 16380
    int32_t DebugLogicPulse;             // 16384
    int32_t DebugIntervalPulses;         // 16388
    double DebugTarget;                  // 16392
    double DebugNewCoord;                // 16400
    uint8_t PeakReportPrint;             // 16408
    uint8_t reserved16409[43];           // 16409
    int32_t reserved16452;               // 16452 1 at creation
    int32_t MapPixelsX;                  // 16456
    int32_t MapPixelsY;                  // 16460
    int32_t MapCellX;                    // 16464
    int32_t MapCellY;                    // 16468
    int32_t MapZoom;                     // 16472
    int32_t MapViewSize[2];              // 16476
    int32_t MapViewOrigin[2];            // 16484
    char ScanFileName[32];               // 16492
    int32_t ElemScanSpeedPps;            // 16524
    double ElemScanXStart;               // 16528
    double ElemScanYStart;               // 16536
    double ElemScanXEnd;                 // 16544
    double ElemScanYEnd;                 // 16552
    double ElemScanYStep;                // 16560
    int32_t ScanMethod;                  // 16568 0 one way, 1 back and forth
    int32_t XBacklashPulses;             // 16572
    int32_t YBacklashPulses;             // 16576
    uint8_t reserved16580[4];            // 16580
};

// Fills a zero-filled record with the creation defaults of a new information file.
// startDirWithSlash becomes SaveFolder (the start directory ending in "/").
void setCreationDefaults(InfoRecord& r, const char* startDirWithSlash);

#define QOR_AT(field, off) static_assert(offsetof(InfoRecord, field) == (off), #field " offset")
QOR_AT(RootPath, 0);
QOR_AT(SaveFolder, 256);
QOR_AT(CollectFileName, 512);
QOR_AT(UsbSerial, 768);
QOR_AT(MotorLogicalPulses, 788);
QOR_AT(MotorInitSpeed, 820);
QOR_AT(MotorMaxSpeed, 852);
QOR_AT(MotorRampParam, 884);
QOR_AT(reserved916, 916);
QOR_AT(MotorAccelIndex, 948);
QOR_AT(MotorDriverPulseMode, 980);
QOR_AT(reserved1012, 1012);
QOR_AT(MotorGotoPos, 1272);
QOR_AT(reserved1336, 1336);
QOR_AT(MotorSetPos, 1528);
QOR_AT(SoftLimitMinus, 1592);
QOR_AT(SoftLimitPlus, 1656);
QOR_AT(reserved1720, 1720);
QOR_AT(MotorSavedPosition, 1784);
QOR_AT(CollectRepeatCount, 1816);
QOR_AT(StartPresetValue, 1820);
QOR_AT(DebugChannelIndex, 1824);
QOR_AT(reserved1828, 1828);
QOR_AT(AutoCollectMca1, 1832);
QOR_AT(AutoCollectMca2, 1833);
QOR_AT(reserved1834, 1834);
QOR_AT(SaveBinary, 1840);
QOR_AT(SaveCsv, 1841);
QOR_AT(CollectName, 1842);
QOR_AT(reserved1908, 1908);
QOR_AT(CollectMode, 1912);
QOR_AT(MapChannelIndex, 1916);
QOR_AT(reserved1920, 1920);
QOR_AT(RunName, 1922);
QOR_AT(reserved1988, 1988);
QOR_AT(ScanXSteps, 2000);
QOR_AT(reserved2004, 2004);
QOR_AT(reserved2008, 2008);
QOR_AT(ScanYSteps, 2016);
QOR_AT(ScanRepeat, 2020);
QOR_AT(ScanXSpeedPps, 2024);
QOR_AT(ScanXPixelPulses, 2028);
QOR_AT(ScanYPixelPulses, 2032);
QOR_AT(reserved2036, 2036);
QOR_AT(JogStepY, 2040);
QOR_AT(JogStepX, 2048);
QOR_AT(ScanUseZ, 2056);
QOR_AT(reserved2057, 2057);
QOR_AT(ZCount, 2060);
QOR_AT(ZStart, 2064);
QOR_AT(ZEnd, 2072);
QOR_AT(ZStep, 2080);
QOR_AT(ScanXStart, 2088);
QOR_AT(ScanXEnd, 2096);
QOR_AT(ScanXStep, 2104);
QOR_AT(ScanYStart, 2112);
QOR_AT(ScanYEnd, 2120);
QOR_AT(ScanYStep, 2128);
QOR_AT(MotorJogStep, 2136);
QOR_AT(MapRoiEnabled, 2200);
QOR_AT(MapRoiKind, 2232);
QOR_AT(MapRoiElementName, 2360);
QOR_AT(reserved3384, 3384);
QOR_AT(ViewLineMode, 3388);
QOR_AT(reserved3392, 3392);
QOR_AT(SlotViewChannels, 3408);
QOR_AT(McaChannels, 3440);
QOR_AT(McaPresetMode, 3472);
QOR_AT(McaPresetValue, 3504);
QOR_AT(reserved3536, 3536);
QOR_AT(RoiStart, 3568);
QOR_AT(RoiEnd, 7664);
QOR_AT(CurrentSlot, 11760);
QOR_AT(reserved11764, 11764);
QOR_AT(SmoothFilter, 12300);
QOR_AT(SmoothPointsIndex, 12304);
QOR_AT(SmoothAveragePoints, 12308);
QOR_AT(PeakWidthIndex, 12312);
QOR_AT(DerivFilterIndex, 12316);
QOR_AT(DerivPoints, 12320);
QOR_AT(SigmaIndex, 12324);
QOR_AT(ExpectedFwhm, 12328);
QOR_AT(reserved12332, 12332);
QOR_AT(reserved12336, 12336);
QOR_AT(reserved12344, 12344);
QOR_AT(reserved12348, 12348);
QOR_AT(CalibRoiStart, 12352);
QOR_AT(CalibRoiEnd, 12864);
QOR_AT(RoiBackupStart, 13376);
QOR_AT(RoiBackupEnd, 13888);
QOR_AT(CalibEnergy, 14400);
QOR_AT(EnergyUnit, 15424);
QOR_AT(CalibOrder, 15552);
QOR_AT(reserved15584, 15584);
QOR_AT(CalibA, 15648);
QOR_AT(CalibB, 15688);
QOR_AT(CalibC, 15728);
QOR_AT(CalibD, 15768);
QOR_AT(CsvHeader, 15808);
QOR_AT(SpectrumComment1, 15809);
QOR_AT(SpectrumComment2, 15889);
QOR_AT(reserved15969, 15969);
QOR_AT(VoiceOn, 15972);
QOR_AT(Mca1Enabled, 15976);
QOR_AT(Mca2Enabled, 15977);
QOR_AT(reserved15978, 15978);
QOR_AT(MotorEnabled, 15980);
QOR_AT(CounterEnabled, 15988);
QOR_AT(reserved15991, 15991);
QOR_AT(Mca1Name, 15992);
QOR_AT(Mca2Name, 16008);
QOR_AT(reserved16024, 16024);
QOR_AT(MotorName, 16056);
QOR_AT(CounterName, 16184);
QOR_AT(reserved16232, 16232);
QOR_AT(Mca1HexSw, 16248);
QOR_AT(Mca2HexSw, 16252);
QOR_AT(reserved16256, 16256);
QOR_AT(MotorHexSw, 16264);
QOR_AT(CounterHexSw, 16296);
QOR_AT(reserved16308, 16308);
QOR_AT(Mca1Port, 16312);
QOR_AT(Mca2Port, 16316);
QOR_AT(reserved16320, 16320);
QOR_AT(MotorPort, 16328);
QOR_AT(CounterPort, 16360);
QOR_AT(reserved16372, 16372);
QOR_AT(NonStopHexSw, 16376);
QOR_AT(DebugSpeedPps, 16380);
QOR_AT(DebugLogicPulse, 16384);
QOR_AT(DebugIntervalPulses, 16388);
QOR_AT(DebugTarget, 16392);
QOR_AT(DebugNewCoord, 16400);
QOR_AT(PeakReportPrint, 16408);
QOR_AT(reserved16409, 16409);
QOR_AT(reserved16452, 16452);
QOR_AT(MapPixelsX, 16456);
QOR_AT(MapPixelsY, 16460);
QOR_AT(MapCellX, 16464);
QOR_AT(MapCellY, 16468);
QOR_AT(MapZoom, 16472);
QOR_AT(MapViewSize, 16476);
QOR_AT(MapViewOrigin, 16484);
QOR_AT(ScanFileName, 16492);
QOR_AT(ElemScanSpeedPps, 16524);
QOR_AT(ElemScanXStart, 16528);
QOR_AT(ElemScanYStart, 16536);
QOR_AT(ElemScanXEnd, 16544);
QOR_AT(ElemScanYEnd, 16552);
QOR_AT(ElemScanYStep, 16560);
QOR_AT(ScanMethod, 16568);
QOR_AT(XBacklashPulses, 16572);
QOR_AT(YBacklashPulses, 16576);
QOR_AT(reserved16580, 16580);
#undef QOR_AT
static_assert(sizeof(InfoRecord) == kInfoRecordSize, "information record size");

}  // namespace qor
