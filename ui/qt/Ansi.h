// The wizard's texts are in the process's code page; Qt's are Unicode. The conversion at the
// backend's edge.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace ui {

QString DecodeAnsi(std::string_view bytes);
// The other way; characters the code page lacks, which no edit takes, become '?'.
std::string EncodeAnsi(const QString& text);

}  // namespace ui
