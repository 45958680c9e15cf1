#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace core {

// The ordered line list behind the memory read views; items count from 1.
class Memoire {
  public:
    void AddItem(const QString& item) { items_.append(item); }
    std::int32_t Size() const { return static_cast<std::int32_t>(items_.size()); }
    void Clear() { items_.clear(); }
    const QStringList& Contenu() const { return items_; }
    // Item i, 1-based; empty text outside the list.
    QString item(std::int32_t i) const {
        return (i >= 1 && i <= Size()) ? items_.at(i - 1) : QString();
    }

  private:
    QStringList items_;
};

}  // namespace core
