#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <initializer_list>

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

    QStringView View() const { return QStringView(units_.data(), size_); }
    operator QStringView() const { return View(); }  // NOLINT
    QString ToQString() const { return View().toString(); }
    bool isEmpty() const { return size_ == 0; }
    qsizetype size() const { return size_; }

    void Append(QStringView text);
    void AppendLatin1(std::string_view text);
    void Clear() { size_ = 0; }

    friend bool operator==(const ShortText& a, const ShortText& b) { return a.View() == b.View(); }
    friend bool operator==(const ShortText& a, QStringView b) { return a.View() == b; }

  private:
    std::array<char16_t, kCapacity> units_{};
    std::uint8_t size_ = 0;
};

}  // namespace varnel
