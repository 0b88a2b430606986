// The matrix text reader: a file of numbers read into an FMatrix by counting tokens and
// line breaks first, then reading row by row. What it read is printed and written in
// both text forms. (A CMatrix row that is not a number ends the program by the vector
// library's fatal convention, so only the real matrix is fuzzed; the counting pass and
// the token rules are the same for both.)

#include "FuzzSupport.h"

#include "core/FMatrix.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TTempFile file(data, size, "matrix.txt");
    FMatrix m;
    const bool ok = m.read(file.Path());
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TMatrixText::Counts counts = TMatrixText::Count(text);
    fuzz::Check(TMatrixText::Clean(text).size() == size, "cleaning keeps the length");
    fuzz::Check(m.rows() == std::max<long long>(counts.lineBreaks, 1), "rows are the line breaks");
    if (!ok)
        return 0;
    std::ostringstream os;
    m.print(os);
    m.write(os, 12, " ", "\n");
    for (const FVector& row : m)
        row.write(os);
    (void)m.transpose();
    (void)m.columnSums();
    (void)m.maxAbsValue();
    return 0;
}
