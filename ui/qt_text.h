#pragma once
#include <QString>
#include <string>

namespace ui {

// The core keeps UTF-8 std::string; Qt wants QString. Convert at the edge only.
inline QString ToQt(const std::string& text) { return QString::fromStdString(text); }
inline std::string FromQt(const QString& text) { return text.toStdString(); }

}  // namespace ui
