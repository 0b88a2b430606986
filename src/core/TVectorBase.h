#pragma once
// The storage and the operations that FVector (real) and CVector (complex) share.
// Only the two vector classes derive from it; use them, not this.
//
// Index scheme. A vector has n elements and a base (the lowest valid index, 0 unless
// given). v[i] is origin[i] for i = base .. base + n - 1, with origin = data - base.
// Every operation that takes or reports an index (v[i], copyRange, the range
// constructor, the index searches) uses this scheme. The element-wise operations
// walk data[0 .. n-1] and ignore the base; so do begin() and end().
//
// Element-wise operations write into this vector, which may also be an operand
// (a.add(a, b) is fine). They do not check sizes: the caller passes vectors of this
// vector's size (the system always uses 500 elements).

#include "TComplex.h"

#include <algorithm>
#include <functional>
#include <iomanip>
#include <istream>
#include <memory>
#include <ostream>
#include <string_view>
#include <utility>

namespace TVectorDetail {
// The element product: for complex values the inline formula of MulComplex.
inline double Mul(double a, double b) { return a * b; }
inline TComplex Mul(const TComplex& a, const TComplex& b) { return MulComplex(a, b); }

inline void WriteValue(std::ostream& os, double value) { os << value; }
inline void WriteValue(std::ostream& os, const TComplex& value) { WriteComplex(os, value); }
inline bool ReadValue(std::istream& is, double& value) { return static_cast<bool>(is >> value); }
inline bool ReadValue(std::istream& is, TComplex& value) { return static_cast<bool>(ReadComplex(is, value)); }
} // namespace TVectorDetail

template <class T>
class TVectorBase {
public:
    using value_type = T;

    virtual ~TVectorBase() = default;

    // ---- storage and index scheme -------------------------------------------------
    int size() const { return size_; }
    int base() const { return base_; }
    bool empty() const { return size_ == 0; }
    // Element 0 of the storage (data[0] is v[base]); nullptr for an empty vector.
    T* data() { return data_.get(); }
    const T* data() const { return data_.get(); }
    // data - base: origin()[i] is v[i]; nullptr for an empty vector.
    T* origin() { return origin_; }
    const T* origin() const { return origin_; }
    T& operator[](int i) { return origin_[i]; }
    const T& operator[](int i) const { return origin_[i]; }
    T* begin() { return data(); }
    T* end() { return data() + size_; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + size_; }

    // Discards the contents: n elements, all 0, valid indices base .. base + n - 1.
    // Keeps the storage when n is unchanged, so a resize to the same size allocates nothing.
    void resize(int n, int base = 0)
    {
        if (n < 0)
            n = 0;
        if (n != size_) {
            data_.reset(n > 0 ? new T[static_cast<std::size_t>(n)]() : nullptr);
            size_ = n;
        } else {
            std::fill(begin(), end(), T());
        }
        setBase(base);
    }

    // Resize to the other's size and base, then copy all elements.
    void assign(const TVectorBase& other)
    {
        if (&other == this)
            return;
        if (other.size_ != size_) {
            data_.reset(other.size_ > 0 ? new T[static_cast<std::size_t>(other.size_)] : nullptr);
            size_ = other.size_;
        }
        std::copy(other.begin(), other.end(), begin());
        setBase(other.base_);
    }

    // Copies the first n elements of the other (n = this size) without resizing. When
    // the other is shorter only its elements are copied.
    void copyValues(const TVectorBase& other)
    {
        const int count = std::min(size_, other.size_);
        std::copy_n(other.data(), count, data());
    }

    // Copies count elements of the other, starting at its index from, into this vector
    // starting at index to (both in their vector's index scheme). count -1 means up to
    // this vector's end (and never past the other's end).
    void copyRange(const TVectorBase& other, int from, int count, int to)
    {
        if (count == -1)
            count = std::min(base_ + size_ - to, other.base_ + other.size_ - from);
        if (count <= 0)
            return;
        const T* src = other.origin_ + from;
        T* dst = origin_ + to;
        // The other may be this vector: copy in the direction that survives overlap.
        if (std::less<const T*>()(dst, src))
            std::copy(src, src + count, dst);
        else if (dst != src)
            std::copy_backward(src, src + count, dst + count);
    }

    void fill(const T& value) { std::fill(begin(), end(), value); }

    // True when the sizes differ or any element differs (complex: either part).
    bool notEqual(const TVectorBase& other) const
    {
        if (size_ != other.size_)
            return true;
        for (int i = 0; i < size_; ++i)
            if (data_[i] != other.data_[i])
                return true;
        return false;
    }
    bool operator==(const TVectorBase& other) const { return !notEqual(other); }

    // ---- element-wise arithmetic: this = a op b -------------------------------------
    void add(const TVectorBase& a, const TVectorBase& b)
    {
        for (int i = 0; i < size_; ++i)
            data_[i] = a.data_[i] + b.data_[i];
    }
    void sub(const TVectorBase& a, const TVectorBase& b)
    {
        for (int i = 0; i < size_; ++i)
            data_[i] = a.data_[i] - b.data_[i];
    }
    void mul(const TVectorBase& a, const TVectorBase& b)
    {
        for (int i = 0; i < size_; ++i)
            data_[i] = TVectorDetail::Mul(a.data_[i], b.data_[i]);
    }
    void div(const TVectorBase& a, const TVectorBase& b)
    {
        for (int i = 0; i < size_; ++i)
            data_[i] = a.data_[i] / b.data_[i];
    }

    // this += x * b
    void mulAdd(const T& x, const TVectorBase& b)
    {
        for (int i = 0; i < size_; ++i)
            data_[i] += TVectorDetail::Mul(x, b.data_[i]);
    }
    // this = x * b
    void mul(const T& x, const TVectorBase& b)
    {
        for (int i = 0; i < size_; ++i)
            data_[i] = TVectorDetail::Mul(x, b.data_[i]);
    }

    // this = a op s with a scalar s
    void add(const TVectorBase& a, const T& s)
    {
        for (int i = 0; i < size_; ++i)
            data_[i] = a.data_[i] + s;
    }
    void sub(const TVectorBase& a, const T& s)
    {
        for (int i = 0; i < size_; ++i)
            data_[i] = a.data_[i] - s;
    }
    void mul(const TVectorBase& a, const T& s)
    {
        for (int i = 0; i < size_; ++i)
            data_[i] = TVectorDetail::Mul(a.data_[i], s);
    }
    void div(const TVectorBase& a, const T& s)
    {
        for (int i = 0; i < size_; ++i)
            data_[i] = a.data_[i] / s;
    }

    // Every element becomes f(element).
    template <class F>
    void apply(F f)
    {
        for (int i = 0; i < size_; ++i)
            data_[i] = f(data_[i]);
    }

    // ---- reductions ---------------------------------------------------------------
    T sum() const
    {
        T s = T();
        for (int i = 0; i < size_; ++i)
            s += data_[i];
        return s;
    }
    // Sum of this[i] * other[offset + i] over this vector's elements, both by storage
    // position (data index); no conjugation for complex vectors.
    T dot(const TVectorBase& other, int offset = 0) const
    {
        T s = T();
        const T* b = other.data() + offset;
        for (int i = 0; i < size_; ++i)
            s += TVectorDetail::Mul(data_[i], b[i]);
        return s;
    }

    // ---- shifting -----------------------------------------------------------------
    // All elements move one place toward the front (the first is lost); value becomes
    // the last element.
    void shiftInAtEnd(const T& value)
    {
        if (size_ == 0)
            return;
        std::copy(begin() + 1, end(), begin());
        data_[size_ - 1] = value;
    }
    // All elements move one place toward the end (the last is lost); value becomes the
    // first element.
    void shiftInAtFront(const T& value)
    {
        if (size_ == 0)
            return;
        std::copy_backward(begin(), end() - 1, end());
        data_[0] = value;
    }
    // The m elements of values enter at the end, the first m are lost; when m >= n only
    // the last n elements of values are kept.
    void shiftInAtEnd(const TVectorBase& values)
    {
        if (&values == this || size_ == 0)
            return; // shifting a vector into itself leaves it as it is
        const int n = size_;
        const int m = values.size_;
        if (m >= n) {
            std::copy(values.end() - n, values.end(), begin());
            return;
        }
        std::copy(begin() + m, end(), begin());
        std::copy(values.begin(), values.end(), end() - m);
    }
    // The m elements of values enter at the front, the last m are lost; when m >= n
    // only the first n elements of values are kept.
    void shiftInAtFront(const TVectorBase& values)
    {
        if (&values == this || size_ == 0)
            return;
        const int n = size_;
        const int m = values.size_;
        if (m >= n) {
            std::copy(values.begin(), values.begin() + n, begin());
            return;
        }
        std::copy_backward(begin(), end() - m, end());
        std::copy(values.begin(), values.end(), begin());
    }

    // ---- text ---------------------------------------------------------------------
    // n values read in order; false as soon as the stream fails (CVector: fatal).
    virtual bool read(std::istream& is)
    {
        for (int i = 0; i < size_; ++i)
            if (!TVectorDetail::ReadValue(is, data_[i]))
                return false;
        return true;
    }
    // Each element in a field of width 14 followed by one blank; a line break after
    // every fifth element, and at the end when the last line is not full.
    virtual void write(std::ostream& os) const
    {
        for (int i = 0; i < size_; ++i) {
            os << std::setw(14);
            TVectorDetail::WriteValue(os, data_[i]);
            os << ' ';
            if ((i + 1) % 5 == 0)
                os << '\n';
        }
        if (size_ % 5 != 0)
            os << '\n';
    }
    // Each element in a field of the given width, the separator between elements (not
    // after the last); no line break.
    void write(std::ostream& os, int width, std::string_view separator) const
    {
        for (int i = 0; i < size_; ++i) {
            if (i > 0)
                os << separator;
            os << std::setw(width);
            TVectorDetail::WriteValue(os, data_[i]);
        }
    }

protected:
    TVectorBase() = default;
    TVectorBase(int n, int base) { resize(n, base); }
    TVectorBase(const T* values, int n, int base)
    {
        resize(n, base);
        std::copy_n(values, size_, data());
    }
    // n elements of other starting at its index from.
    TVectorBase(const TVectorBase& other, int from, int n, int base)
    {
        resize(n, base);
        std::copy_n(other.origin_ + from, size_, data());
    }
    TVectorBase(const TVectorBase& other) { assign(other); }
    TVectorBase(TVectorBase&& other) noexcept { swapWith(other); }
    TVectorBase& operator=(const TVectorBase& other)
    {
        assign(other);
        return *this;
    }
    TVectorBase& operator=(TVectorBase&& other) noexcept
    {
        if (&other != this) {
            TVectorBase empty;
            other.swapWith(empty);
            swapWith(empty);
        }
        return *this;
    }

private:
    void setBase(int base)
    {
        base_ = base;
        // origin = data - base; element i of the index scheme is origin[i].
        origin_ = size_ > 0 ? data_.get() - base : nullptr;
    }
    void swapWith(TVectorBase& other) noexcept
    {
        std::swap(origin_, other.origin_);
        std::swap(size_, other.size_);
        std::swap(base_, other.base_);
        std::swap(data_, other.data_);
    }

    T* origin_ = nullptr;
    int size_ = 0;
    int base_ = 0;
    std::unique_ptr<T[]> data_;
};
