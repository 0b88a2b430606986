#include "measdata/TMeasData.h"

#include "measdata/TMeasDataOwner.h"
#include "settings/TProgramContext.h"

namespace {
constexpr const char* kSplFilter =
    "LAUD frequency resp (*.frd)|*.frd|LEAP (*.gdt)|*.gdt|CLIO (*.txt)|*.txt|MLLSA (*.fmp)|*.fmp|All (*.*)|*.*";
constexpr const char* kImpedanceFilter =
    "LAUD impedance (*.zma)|*.zma|LEAP (*.gdt)|*.gdt|CLIO (*.txt)|*.txt|MLLSA (*.fmp)|*.fmp|All (*.*)|*.*";
} // namespace

TMeasData::TMeasData(TMeasDataOwner& owner, TMeasKind kind) : owner_(owner), kind_(kind)
{
    const bool spl = kind == TMeasKind::Spl;
    fileDialog_.filter = spl ? kSplFilter : kImpedanceFilter;
    fileDialog_.defaultExtension = spl ? "frd" : "zma";
}

void TMeasData::ClearMeasData()
{
    fileName_.clear();
    chosenName_.clear();
    fileDialog_.initialName.clear();
    loaded_ = false;
}

void TMeasData::SetFileName(const std::string& name)
{
    fileName_ = name;
    chosenName_ = name;
    fileDialog_.initialName = name;
}

void TMeasData::ImportMeasData()
{
    std::string path;
    if (!owner_.Host().ChooseOpenFile(fileDialog_, path))
        return;
    chosenName_ = path;
    fileDialog_.initialName = path;
    ReadMeasFile();
    owner_.MarkChanged();
    owner_.Recalculate();
}

void TMeasData::ReadMeasFile()
{
    const TProgramFolder& folder = owner_.Context().Folder();
    fileName_ = folder.Strip(chosenName_);
    loaded_ = false;
    if (fileName_.empty()) {
        report_ = TMeasReadReport();
        return;
    }
    const std::string path = folder.Resolve(fileName_);
    const TFilterGrid& grid = owner_.Context().General().FilterGrid();
    const TMeasGrid onto{grid.Frequencies().data(), grid.Logarithms().data(), grid.Count()};
    const TMeasReadResult result = ReadMeasCurveFile(path, onto, kind_, response_.data(), &report_);
    if (result == TMeasReadResult::NotOpened) {
        owner_.Host().Message("Could not open file : " + path + "\nCheck if path and filename is correct.",
                              "Measured data", TMsgButtons::Ok, TMsgIcon::Warning);
        return;
    }
    loaded_ = result == TMeasReadResult::Loaded;
}
