#pragma once
// "Print diagrams": the chosen plot windows, 3, 4 or 8 to a page, under a heading
// with the date and the project's file name.

#include <string>
#include <vector>

class TCanvas;
class TWindowModel;

struct TDiagramPages {
    std::vector<TWindowModel*> diagrams; // in print order
    int perPage = 8;                     // 3, 4 or 8
    std::string heading;                 // first page, e.g. "CLOSED BOX"
    std::string date;                    // empty: not printed
    std::string fileName;                // name and extension; empty: not printed

    int PageCount() const;
    // Paints page `page` (from 0) onto a canvas that covers the whole page.
    void PaintPage(TCanvas& canvas, int page) const;
};
