// The wizard's texts are Windows-1252; Qt's are Unicode. The conversion at the backend's edge.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace ui {

QString DecodeAnsi(std::string_view bytes);
// The other way; characters the code page lacks become '?'.
std::string EncodeAnsi(const QString& text);

}  // namespace ui
