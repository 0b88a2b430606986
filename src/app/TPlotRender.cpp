#include "TPlotRender.h"

#include "QtCanvas.h"
#include "plot/TPlotXYEmbryo.h"
#include "ui/TWindowModel.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace TPlotRender {

void PrepareCanvas(QtCanvas& canvas, const TWindowModel& model)
{
    if (dynamic_cast<const TPlotXYEmbryo*>(&model))
        canvas.SetDesignSize(model.DefaultWidth(), model.DefaultHeight());
}

QImage RenderImage(TWindowModel& model, int width, int height)
{
    QImage image(std::max(1, width), std::max(1, height), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(painter, image.width(), image.height());
    PrepareCanvas(canvas, model);
    model.Paint(canvas);
    painter.end();
    return image;
}

bool WritePng(TWindowModel& model, int width, int height, const QString& path)
{
    return RenderImage(model, width, height).save(path, "PNG");
}

TPdfDocument::TPdfDocument(const QString& path, const QString& title, bool landscape)
    : writer_(std::make_unique<QPdfWriter>(path))
{
    writer_->setTitle(title);
    writer_->setCreator("Tonvek");
    writer_->setResolution(300);
    writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
}

TPdfDocument::~TPdfDocument()
{
    if (painter_)
        (void)Finish();
}

TCanvas* TPdfDocument::Page(int index)
{
    if (!ok_)
        return nullptr;
    if (!painter_) {
        painter_ = std::make_unique<QPainter>();
        if (!painter_->begin(writer_.get())) {
            painter_.reset();
            ok_ = false;
            return nullptr;
        }
    } else if (index >= pages_ && !writer_->newPage()) {
        ok_ = false;
        return nullptr;
    }
    if (index >= pages_)
        pages_ = index + 1;
    canvas_ = std::make_unique<QtCanvas>(*painter_, writer_->width(), writer_->height());
    return canvas_.get();
}

bool TPdfDocument::Finish()
{
    canvas_.reset();
    if (painter_) {
        ok_ = painter_->end() && ok_;
        painter_.reset();
    }
    return ok_ && pages_ > 0;
}

bool WritePdf(const QString& path, const std::string& jobName, int pageCount, const TPagePainter& painter)
{
    TPdfDocument document(path, QString::fromStdString(jobName));
    for (int page = 0; page < pageCount; ++page) {
        TCanvas* canvas = document.Page(page);
        if (!canvas)
            return false;
        painter(*canvas, page);
    }
    return document.Finish();
}

} // namespace TPlotRender
