#pragma once
// One measured curve of a filter network: a frequency response (SPL with phase) or an
// impedance, read from a measurement file onto the filter grid.

#include "core/CVector.h"
#include "measdata/TMeasCurveReader.h"
#include "measdata/TMeasReadReport.h"
#include "settings/TFilterGrid.h"
#include "ui/THost.h"

#include <string>

class TMeasDataOwner;

class TMeasData {
public:
    // The project file keeps the name in a 271-byte field.
    static constexpr std::size_t kMaxFileName = 270;
    TMeasData(TMeasDataOwner& owner, TMeasKind kind);

    // Forgets the file: empty name, not loaded. The response keeps its values.
    void ClearMeasData();
    // Lets the user choose a file; when confirmed reads it, marks the owner changed and
    // has it recalculate.
    void ImportMeasData();
    // Reads the file last chosen or stored onto the filter grid; shows the open error.
    void ReadMeasFile();

    // The name as the project stores it (relative to the program folder when the file
    // lies inside it). Setting it also makes it the name the next read uses.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& name);

    bool Loaded() const { return loaded_; }
    TMeasKind Kind() const { return kind_; }
    // One value per filter grid point: SPL as a pressure ratio (0 dB is magnitude 1)
    // times the phase, impedance in complex ohms.
    const CVector& Response() const { return response_; }
    const TFileRequest& FileDialog() const { return fileDialog_; }
    // What the last read skipped and assumed.
    const TMeasReadReport& LastReadReport() const { return report_; }

private:
    TMeasDataOwner& owner_;
    TMeasKind kind_;
    TFileRequest fileDialog_;
    std::string chosenName_;
    std::string fileName_;
    bool loaded_ = false;
    CVector response_{TFilterGrid::kPoints};
    TMeasReadReport report_;
};
