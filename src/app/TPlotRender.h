#pragma once
// Renders window models without a screen: a model onto a QImage or PNG of any size,
// and printed pages into a PDF, all through the same QtCanvas painting as the views.

#include "ui/THost.h"

#include <QImage>
#include <QString>
#include <memory>
#include <string>

class QPainter;
class QPdfWriter;
class QtCanvas;
class TWindowModel;

namespace TPlotRender {

// Tells a screen or picture canvas how the model's text should scale: plots stretch
// their fixed canvas over the window and are laid out for their default size.
void PrepareCanvas(QtCanvas& canvas, const TWindowModel& model);

// The model's client area painted at width by height pixels, as on screen.
QImage RenderImage(TWindowModel& model, int width, int height);
[[nodiscard]] bool WritePng(TWindowModel& model, int width, int height, const QString& path);

// A PDF being written page by page; Page(i) ends the previous page and returns a
// canvas on the whole new one (A4 portrait unless told otherwise). Usable as the
// print canvas of a headless host.
class TPdfDocument {
public:
    explicit TPdfDocument(const QString& path, const QString& title = "Tonvek print job", bool landscape = false);
    ~TPdfDocument();
    TPdfDocument(const TPdfDocument&) = delete;
    TPdfDocument& operator=(const TPdfDocument&) = delete;

    bool IsOpen() const { return painter_ != nullptr; }
    TCanvas* Page(int index);
    int PageCount() const { return pages_; }
    // Ends the document; false when anything failed.
    [[nodiscard]] bool Finish();

private:
    std::unique_ptr<QPdfWriter> writer_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<QtCanvas> canvas_;
    int pages_ = 0;
    bool ok_ = true;
};

// Paints pageCount pages into a new PDF file.
[[nodiscard]] bool WritePdf(const QString& path, const std::string& jobName, int pageCount, const TPagePainter& painter);

} // namespace TPlotRender
