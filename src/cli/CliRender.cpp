// tonvek-cli render: pictures of a box project's windows, as PNG files or as the
// printed diagram pages in a PDF.

#include "TCliCommand.h"
#include "TCliHost.h"

// Before any Qt header: the networks' store slots are members named like a Qt keyword.
#include "filter/TXover.h"
#include "filter/TNetADialog.h"
#include "filter/TNetADialogs.h"
#include "filter/TNetAOptDialog.h"

#include "app/QtCanvas.h"
#include "app/TPlotRender.h"
#include "box/TBoxReport.h"
#include "box/TBoxEmbryo.h"
#include "box/TBoxType.h"
#include "core/TBinaryStream.h"
#include "plot/TSnapshot.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdio>
#include <algorithm>
#include <filesystem>

namespace {

std::string FileNameFor(const std::string& title)
{
    std::string out;
    for (char c : title) {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_')
            out += c;
        else if (!out.empty() && out.back() != '_')
            out += '_';
    }
    while (!out.empty() && out.back() == '_')
        out.pop_back();
    return out.empty() ? "window" : out;
}

int WritePngs(const std::vector<TPlotXYEmbryo*>& plots, const std::string& outDir, int width, int height)
{
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    for (TWindowModel* w : plots) {
        std::string path = (std::filesystem::path(outDir) / (FileNameFor(w->Title()) + ".png")).string();
        if (!TPlotRender::WritePng(*w, width, height, QString::fromStdString(path)))
            return CliFail("could not write " + path);
        std::printf("%s\n", path.c_str());
    }
    return 0;
}

// The snapshot window keeps its legend below the plot: it is drawn taller than the plots
// by the ratio of the windows' default heights (380 to 290), so its plot is as large.
int WriteSnapshotPng(TSnapshot& w, const std::string& outDir, int width, int height)
{
    const int tall = height * 380 / 290;
    std::string path = (std::filesystem::path(outDir) / (FileNameFor(w.Title()) + ".png")).string();
    if (!TPlotRender::WritePng(w, width, tall, QString::fromStdString(path)))
        return CliFail("could not write " + path);
    std::printf("%s\n", path.c_str());
    return 0;
}

int WritePages(TDiagramPages pages, const std::string& pdf)
{
    if (!TPlotRender::WritePdf(QString::fromStdString(pdf), "Tonvek print job", pages.PageCount(),
                               [&](TCanvas& canvas, int page) { pages.PaintPage(canvas, page); }))
        return CliFail("could not write " + pdf);
    std::printf("%s (%d page%s)\n", pdf.c_str(), pages.PageCount(), pages.PageCount() == 1 ? "" : "s");
    return 0;
}

// The schematic windows at their full page size, and each one's printed page.
int WriteSchematics(TXover& filter, const std::string& outDir)
{
    std::vector<TSchematicWin*> windows;
    if (filter.Schematic() != nullptr)
        windows.push_back(filter.Schematic());
    for (int n = 0; filter.Advanced() && n < filter.Ways(); ++n)
        windows.push_back(&filter.SchematicA(n));
    for (TSchematicWin* w : windows) {
        const std::string stem = w == filter.Schematic() ? "Schematic" : "Schematic_" + FileNameFor(w->Title());
        const std::string png = (std::filesystem::path(outDir) / (stem + ".png")).string();
        // The first paint tells how far down the drawing reaches.
        (void)TPlotRender::RenderImage(*w, w->LogicalWidth(), w->LogicalHeight());
        if (!TPlotRender::WritePng(*w, w->LogicalWidth(), w->LogicalHeight(), QString::fromStdString(png)))
            return CliFail("could not write " + png);
        std::printf("%s\n", png.c_str());
        const std::string pdf = (std::filesystem::path(outDir) / (stem + ".pdf")).string();
        if (!TPlotRender::WritePdf(QString::fromStdString(pdf), "Tonvek print job", 1,
                                   [w](TCanvas& canvas, int) { w->PaintPrintPage(canvas); }))
            return CliFail("could not write " + pdf);
        std::printf("%s\n", pdf.c_str());
    }
    return 0;
}

// The plot of each advanced net's optimiser dialog, opened as its "Optimize" button
// opens it (the project is not saved), as the dialog shows it.
int WriteOptimiserPlots(TXover& filter, const std::string& outDir)
{
    for (int n = 0; filter.Advanced() && n < filter.Ways(); ++n) {
        TNetADialog& netDialog = filter.NetADialogs(n).NetDialog();
        netDialog.Open();
        TNetAOptDialog* d = netDialog.OpenOptimiser();
        if (!d)
            continue;
        QImage image(TNetAOptDialog::kPlotWidth, TNetAOptDialog::kPlotHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            QtCanvas canvas(painter, image.width(), image.height());
            canvas.MapOntoDevice(image.width(), image.height());
            d->Paint(canvas);
        }
        d->Close();
        const std::string png = (std::filesystem::path(outDir) / (FileNameFor(d->title) + ".png")).string();
        if (!image.save(QString::fromStdString(png)))
            return CliFail("could not write " + png);
        std::printf("%s\n", png.c_str());
    }
    return 0;
}

int RenderFilter(TProgramContext& context, TCliHost& host, int kind, const std::string& project,
                 const std::string& outDir, const std::string& pdf, int width, int height)
{
    TXover filter(host, context, kind);
    if (!filter.Load(project))
        return CliFail("Error while reading filter data. The project file is corrupt: " + project);
    if (!outDir.empty())
        if (int status = WritePngs(filter.DiagramWindows(), outDir, width, height); status != 0)
            return status;
    if (!outDir.empty())
        if (int status = WriteSchematics(filter, outDir); status != 0)
            return status;
    if (!outDir.empty())
        if (int status = WriteSnapshotPng(filter.SnapshotWindow(), outDir, width, height); status != 0)
            return status;
    if (!outDir.empty())
        if (int status = WriteOptimiserPlots(filter, outDir); status != 0)
            return status;
    return pdf.empty() ? 0 : WritePages(filter.DiagramPages(), pdf);
}

int RunRender(TProgramContext& context, const TCliArgs& args)
{
    std::string project, outDir, pdf;
    int width = 1200, height = 580;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size())
            outDir = args[++i];
        else if (args[i] == "--pdf" && i + 1 < args.size())
            pdf = args[++i];
        else if (args[i] == "--size" && i + 1 < args.size()) {
            if (std::sscanf(args[++i].c_str(), "%dx%d", &width, &height) != 2 || width < 100 || height < 60 ||
                width > 10000 || height > 10000)
                return CliFail("render: --size takes WIDTHxHEIGHT, e.g. 1200x580");
        } else if (project.empty())
            project = args[i];
        else
            return CliFail("render: unexpected argument \"" + args[i] + "\"");
    }
    if (project.empty() || (outDir.empty() && pdf.empty()))
        return CliFail("render: tonvek-cli render PROJECT.box --out DIR | --pdf FILE.pdf");

    // Fonts and images need a GUI application object, but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "tonvek-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    TCliHost host;
    TBinaryReader reader;
    std::int32_t code = -1;
    if (!reader.Open(project) || !reader.ReadInt32(code))
        return CliFail("cannot open project " + project);
    if (const int kind = TXover::KindOfTypeCode(code); kind >= 0)
        return RenderFilter(context, host, kind, project, outDir, pdf, width, height);
    const TBoxType* type = TBoxTypes::ByCode(code);
    if (!type)
        return CliFail(project + " is not a box project this version can open (type code " + std::to_string(code) + ")");
    std::unique_ptr<TBoxEmbryo> made = type->make(host, context);
    TBoxEmbryo& box = *made;
    if (!box.Load(project))
        return CliFail("Error while reading box data. The project file is corrupt: " + project);
    if (!box.FrontDriver().complete)
        return CliFail("render: the project has no results (is its unit file there and complete?)");

    if (!outDir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(outDir, ec);
        std::vector<TWindowModel*> windows;
        for (TPlotXYEmbryo* plot : box.DiagramWindows())
            windows.push_back(plot);
        for (TWindowModel* w : windows) {
            std::string path = (std::filesystem::path(outDir) / (FileNameFor(w->Title()) + ".png")).string();
            if (!TPlotRender::WritePng(*w, width, height, QString::fromStdString(path)))
                return CliFail("could not write " + path);
            std::printf("%s\n", path.c_str());
        }
        if (int status = WriteSnapshotPng(box.SnapshotWindow(), outDir, width, height); status != 0)
            return status;
        std::string info = (std::filesystem::path(outDir) / "Information.png").string();
        // The whole report: as wide as the window opens, as tall as the report runs.
        TInfoWin& infoWin = box.InfoWindow();
        (void)TPlotRender::RenderImage(infoWin, infoWin.DefaultWidth(), 1000);
        const int infoHeight = std::max(infoWin.DefaultHeight(), infoWin.ContentBottom());
        if (!TPlotRender::WritePng(infoWin, infoWin.DefaultWidth(), infoHeight, QString::fromStdString(info)))
            return CliFail("could not write " + info);
        std::printf("%s\n", info.c_str());
    }
    if (!pdf.empty()) {
        TDiagramPages pages = box.DiagramPages();
        if (!TPlotRender::WritePdf(QString::fromStdString(pdf), "Tonvek print job", pages.PageCount(),
                                   [&](TCanvas& canvas, int page) { pages.PaintPage(canvas, page); }))
            return CliFail("could not write " + pdf);
        std::printf("%s (%d page%s)\n", pdf.c_str(), pages.PageCount(), pages.PageCount() == 1 ? "" : "s");
    }
    return 0;
}

TCliRegistration renderCommand{"render",
                               "render PROJECT.box [--out DIR] [--pdf FILE.pdf] [--size WxH]\n"
                               "                       one PNG per window, named after its title, and/or the\n"
                               "                       diagrams as printed pages; an advanced filter's nets add\n"
                               "                       their optimiser plots (Net_1_optimize.png ...)",
                               RunRender};

} // namespace
