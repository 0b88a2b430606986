#pragma once
// The storage and the operations that FMatrix and CMatrix share. A matrix
// is an owned array of row vectors (FVector or CVector); element (i, j) is row i,
// data element j (rows are addressed from 0, columns by storage position). The column
// count is the size of the first row; all rows of a matrix made here have that size.
//
// Derived is the matrix class itself (FMatrix or CMatrix): it names the class in the
// fatal messages ("FMatrix::add called with different sizes") and is the type of the
// new matrices that transpose returns.

#include "TBinaryStream.h"
#include "TFatal.h"
#include "TVectorBase.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iomanip>
#include <limits>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

namespace TMatrixText {
// First pass of the matrix read: the tokens (runs of characters between blanks, tabs
// and line breaks; a parenthesised complex value "(re, im)" is one token) and the line
// breaks. Other control characters (a lone carriage return, a form feed, NUL) count as
// blanks, so no byte stalls the count.
struct Counts {
    long long tokens = 0;
    long long lineBreaks = 0;
};
Counts Count(std::string_view text);
// The text for the second pass: the control characters the count took as blanks are
// blanks here too, so both passes see the same tokens.
std::string Clean(std::string_view text);
// The whole file; false when it cannot be opened or read.
bool Load(const std::string& fileName, std::string& text);
} // namespace TMatrixText

template <class Derived, class Row>
class TMatrixBase {
public:
    using Value = typename Row::value_type;

    virtual ~TMatrixBase() = default;

    int rows() const { return rows_; }
    int cols() const { return rows_ > 0 ? row_[0].size() : 0; }
    Row& operator[](int i) { return row_[i]; }
    const Row& operator[](int i) const { return row_[i]; }
    Value& operator()(int i, int j) { return row_[i].data()[j]; }
    const Value& operator()(int i, int j) const { return row_[i].data()[j]; }
    Row* begin() { return row_.get(); }
    Row* end() { return row_.get() + rows_; }
    const Row* begin() const { return row_.get(); }
    const Row* end() const { return row_.get() + rows_; }

    // Discards the contents: rows by cols, all 0. Keeps the storage when the shape is
    // unchanged.
    void resize(int rows, int cols)
    {
        if (rows < 0)
            rows = 0;
        if (rows != rows_) {
            row_.reset(rows > 0 ? new Row[static_cast<std::size_t>(rows)] : nullptr);
            rows_ = rows;
        }
        for (Row& r : *this)
            r.resize(cols);
    }

    // Resize to the other's shape and copy every row (with its base).
    void assign(const TMatrixBase& other)
    {
        if (&other == this)
            return;
        if (other.rows_ != rows_) {
            row_.reset(other.rows_ > 0 ? new Row[static_cast<std::size_t>(other.rows_)] : nullptr);
            rows_ = other.rows_;
        }
        for (int i = 0; i < rows_; ++i)
            row_[i].assign(other.row_[i]);
    }

    void fill(const Value& value)
    {
        for (Row& r : *this)
            r.fill(value);
    }

    // ---- element-wise arithmetic with size checks ----------------------------------
    // this = a op b; fatal unless a and b both have this matrix's rows and columns.
    void add(const TMatrixBase& a, const TMatrixBase& b)
    {
        checkBoth(a, b, "add called with different sizes");
        for (int i = 0; i < rows_; ++i)
            row_[i].add(a.row_[i], b.row_[i]);
    }
    void sub(const TMatrixBase& a, const TMatrixBase& b)
    {
        checkBoth(a, b, "sub called with different sizes");
        for (int i = 0; i < rows_; ++i)
            row_[i].sub(a.row_[i], b.row_[i]);
    }
    void mul(const TMatrixBase& a, const TMatrixBase& b)
    {
        checkBoth(a, b, "mul called with different sizes");
        for (int i = 0; i < rows_; ++i)
            row_[i].mul(a.row_[i], b.row_[i]);
    }
    void div(const TMatrixBase& a, const TMatrixBase& b)
    {
        checkBoth(a, b, "div called with different sizes");
        for (int i = 0; i < rows_; ++i)
            row_[i].div(a.row_[i], b.row_[i]);
    }
    // this += x * b; fatal unless b has this matrix's rows and columns.
    void mulAdd(const Value& x, const TMatrixBase& b)
    {
        if (!sameShape(b))
            fail("mulAdd called with different sizes");
        for (int i = 0; i < rows_; ++i)
            row_[i].mulAdd(x, b.row_[i]);
    }
    // this = x * b; fatal unless b has as many elements in total as this matrix. The
    // elements are paired in row-major order, so the shapes may differ.
    void mul(const Value& x, const TMatrixBase& b)
    {
        if (static_cast<long long>(b.rows()) * b.cols() != static_cast<long long>(rows()) * cols())
            fail("mul called with different sizes");
        if (sameShape(b)) {
            for (int i = 0; i < rows_; ++i)
                row_[i].mul(x, b.row_[i]);
            return;
        }
        const int bCols = b.cols();
        const int thisCols = cols();
        int bi = 0;
        int bj = 0;
        for (int i = 0; i < rows_; ++i)
            for (int j = 0; j < thisCols; ++j) {
                (*this)(i, j) = TVectorDetail::Mul(x, b(bi, bj));
                if (++bj == bCols) {
                    bj = 0;
                    ++bi;
                }
            }
    }

    // Matrix product: this(i, j) = sum over k of a(i, k) * b(k, j), for the rows of a
    // and the columns of b, k over the columns of a. Not checked: b must have at least
    // as many rows as a has columns. This matrix takes the shape of the product (and
    // may be a or b).
    void product(const TMatrixBase& a, const TMatrixBase& b)
    {
        if (&a == this || &b == this) {
            Derived result;
            result.product(a, b);
            assign(result);
            return;
        }
        const int n = a.rows();
        const int m = b.cols();
        const int inner = a.cols();
        if (rows() != n || cols() != m)
            resize(n, m);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < m; ++j) {
                Value s = Value();
                for (int k = 0; k < inner; ++k)
                    s += TVectorDetail::Mul(a(i, k), b(k, j));
                (*this)(i, j) = s;
            }
    }

    // ---- searches and derived matrices --------------------------------------------
    // The first element (row-major) with the smallest / largest magnitude, as its
    // signed or complex value; 0 for an empty matrix.
    Value minAbsValue() const
    {
        return firstBest([](const Value& v) { return std::abs(v); }, [](double x, double y) { return x < y; });
    }
    Value maxAbsValue() const
    {
        return firstBest([](const Value& v) { return std::abs(v); }, [](double x, double y) { return x > y; });
    }

    // Rows and columns exchanged (no conjugation).
    Derived transpose() const
    {
        Derived t(cols(), rows());
        for (int i = 0; i < rows_; ++i)
            for (int j = 0; j < cols(); ++j)
                t(j, i) = (*this)(i, j);
        return t;
    }

    // Element j is the sum of column j.
    Row columnSums() const
    {
        Row s(cols());
        for (const Row& r : *this)
            for (int j = 0; j < s.size(); ++j)
                s.data()[j] += r.data()[j];
        return s;
    }

    // Rows move down one place (the last is lost); row's values become the first row.
    // The rows trade their storage, so nothing is copied but the new row; row may be
    // one of this matrix's rows.
    void shiftInRowAtFront(const Row& row)
    {
        if (rows_ == 0)
            return;
        const int own = indexOf(row);
        std::rotate(begin(), end() - 1, end());
        const Row& source = own < 0 ? row : row_[(own + 1) % rows_];
        if (&source != &row_[0])
            row_[0].copyValues(source);
    }
    // Rows move up one place (the first is lost); row's values become the last row.
    void shiftInRowAtEnd(const Row& row)
    {
        if (rows_ == 0)
            return;
        const int own = indexOf(row);
        std::rotate(begin(), begin() + 1, end());
        const Row& source = own < 0 ? row : row_[(own + rows_ - 1) % rows_];
        if (&source != &row_[rows_ - 1])
            row_[rows_ - 1].copyValues(source);
    }

    // For a square matrix of n rows, n(n + 1)/2 elements: the upper triangle row by row
    // (row i from column i to n - 1) or the lower triangle row by row (row i from
    // column 0 to i).
    Row upperTriangle() const
    {
        const int n = rows_;
        Row t(n * (n + 1) / 2);
        Value* out = t.data();
        for (int i = 0; i < n; ++i)
            for (int j = i; j < n; ++j)
                *out++ = (*this)(i, j);
        return t;
    }
    Row lowerTriangle() const
    {
        const int n = rows_;
        Row t(n * (n + 1) / 2);
        Value* out = t.data();
        for (int i = 0; i < n; ++i)
            for (int j = 0; j <= i; ++j)
                *out++ = (*this)(i, j);
        return t;
    }

    // ---- text ---------------------------------------------------------------------
    // Per row: the row index in a field of width 4, ":", then each element in a field
    // of width 16 followed by a blank, with "\n      " after every fifth element; a
    // line break after each row.
    void print(std::ostream& os) const
    {
        for (int i = 0; i < rows_; ++i) {
            os << std::setw(4) << i << ":";
            const Row& r = row_[i];
            for (int j = 0; j < r.size(); ++j) {
                os << std::setw(16);
                TVectorDetail::WriteValue(os, r.data()[j]);
                os << ' ';
                if ((j + 1) % 5 == 0)
                    os << "\n      ";
            }
            os << '\n';
        }
    }

    // Rows written with the row write (width, separator), the row separator between
    // rows (not after the last). Stops when the stream fails; fatal "unable to write
    // file" when it has failed.
    void write(std::ostream& os, int width, std::string_view separator, std::string_view rowSeparator) const
    {
        for (int i = 0; i < rows_ && os; ++i) {
            if (i > 0)
                os << rowSeparator;
            row_[i].write(os, width, separator);
        }
        if (!os)
            fail("unable to write file");
    }
    // The same into a file, created or replaced through a temporary file, so a failed
    // write leaves an old file as it was; fatal "unable to write file" when it fails.
    void write(const std::string& fileName, int width, std::string_view separator,
               std::string_view rowSeparator) const
    {
        std::ostringstream os;
        write(os, width, separator, rowSeparator);
        const std::string text = os.str();
        if (!SaveFileSafely(fileName, text.data(), text.size()))
            fail("unable to write file");
    }

    // Two passes over the file: the first counts the tokens and the line breaks (rows =
    // line breaks, at least 1; columns = tokens / rows), the matrix is resized to that,
    // then each row is read with the row read. False when the file cannot be read or a
    // value is not a number (a CMatrix row read is fatal instead).
    [[nodiscard]] bool read(const std::string& fileName)
    {
        std::string text;
        if (!TMatrixText::Load(fileName, text))
            return false;
        const TMatrixText::Counts counts = TMatrixText::Count(text);
        const long long rows = std::max<long long>(counts.lineBreaks, 1);
        const long long cols = counts.tokens / rows;
        if (rows > std::numeric_limits<int>::max() || cols > std::numeric_limits<int>::max())
            return false;
        resize(static_cast<int>(rows), static_cast<int>(cols));
        std::istringstream is(TMatrixText::Clean(text));
        for (Row& r : *this)
            if (!r.read(is))
                return false;
        return true;
    }

protected:
    TMatrixBase() = default;
    TMatrixBase(int rows, int cols) { resize(rows, cols); }
    // count rows of other starting at row from.
    TMatrixBase(const TMatrixBase& other, int from, int count)
    {
        if (count > 0) {
            row_.reset(new Row[static_cast<std::size_t>(count)]);
            rows_ = count;
            for (int i = 0; i < count; ++i)
                row_[i].assign(other.row_[from + i]);
        }
    }
    TMatrixBase(const TMatrixBase& other) { assign(other); }
    TMatrixBase(TMatrixBase&& other) noexcept
        : row_(std::move(other.row_)), rows_(std::exchange(other.rows_, 0)) {}
    TMatrixBase& operator=(const TMatrixBase& other)
    {
        assign(other);
        return *this;
    }
    TMatrixBase& operator=(TMatrixBase&& other) noexcept
    {
        if (&other != this) {
            row_ = std::move(other.row_);
            rows_ = std::exchange(other.rows_, 0);
        }
        return *this;
    }

    [[noreturn]] static void fail(std::string_view message) { FatalError(Derived::kClassName, message); }

    template <class Key, class Better>
    Value firstBest(Key key, Better better) const
    {
        const Value* best = nullptr;
        double bestKey = 0.0;
        for (const Row& r : *this)
            for (const Value& v : r) {
                const double k = key(v);
                if (best == nullptr || better(k, bestKey)) {
                    best = &v;
                    bestKey = k;
                }
            }
        return best != nullptr ? *best : Value();
    }

private:
    // The index of row among this matrix's rows, -1 when it is another vector.
    int indexOf(const Row& row) const
    {
        for (int i = 0; i < rows_; ++i)
            if (&row_[i] == &row)
                return i;
        return -1;
    }
    bool sameShape(const TMatrixBase& other) const { return other.rows() == rows() && other.cols() == cols(); }
    void checkBoth(const TMatrixBase& a, const TMatrixBase& b, std::string_view message) const
    {
        if (!sameShape(a) || !sameShape(b))
            fail(message);
    }

    std::unique_ptr<Row[]> row_;
    int rows_ = 0;
};
