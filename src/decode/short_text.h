#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace varnel {

// A short text held in place. A decode writes nineteen values of a few
// characters each (2200MHz, 1.65v, Barton); holding them in place spares the
// heap an allocation per value, which on a batch of a million markings is
// most of the cost. The longest value any stage writes is well inside the
// capacity; a text that would not fit stops the program rather than be cut.
class ShortText {
  public:
    static constexpr qsizetype kCapacity = 64;

    ShortText() = default;
    ShortText(QStringView text) { Append(text); }  // NOLINT: texts convert freely
    ShortText(std::initializer_list<QStringView> pieces);
    // Only the characters in use are copied; the rest of the room is never read.
    ShortText(const ShortText& other) : size_(other.size_) { CopyUnits(other); }
    ShortText& operator=(const ShortText& other) {
        size_ = other.size_;
        CopyUnits(other);
        return *this;
    }
    ~ShortText() = default;

    QStringView View() const { return QStringView(units_.data(), size_); }
    operator QStringView() const { return View(); }  // NOLINT
    QString ToQString() const { return View().toString(); }
    bool isEmpty() const { return size_ == 0; }
    qsizetype size() const { return size_; }

    // Appending is inline: a decode appends dozens of short pieces.
    void Append(QStringView text) {
        MakeRoom(text.size());
        const char16_t* from = text.utf16();
        for (qsizetype i = 0; i < text.size(); ++i) {
            units_[static_cast<std::size_t>(size_ + i)] = from[i];
        }
        size_ = static_cast<std::uint8_t>(size_ + text.size());
    }
    void AppendLatin1(std::string_view text) {
        MakeRoom(static_cast<qsizetype>(text.size()));
        std::copy(text.begin(), text.end(), units_.data() + size_);
        size_ = static_cast<std::uint8_t>(size_ + text.size());
    }
    void Clear() { size_ = 0; }

    friend bool operator==(const ShortText& a, const ShortText& b) { return a.View() == b.View(); }
    friend bool operator==(const ShortText& a, QStringView b) { return a.View() == b; }

  private:
    void MakeRoom(qsizetype more) const {
        if (more > kCapacity - size_) {
            Overflow(more);
        }
    }
    [[noreturn]] void Overflow(qsizetype more) const;
    void CopyUnits(const ShortText& other) {
        std::copy_n(other.units_.data(), size_, units_.data());
    }

    std::uint8_t size_ = 0;
    std::array<char16_t, kCapacity> units_;  // only the first size_ are set
};

}  // namespace varnel
