// What Finish sends and how often it tries, for the end page and the commands that write
// without the wizard alike.
#pragma once

#include <string_view>

struct DeviceData;
struct ImageBuffer;

// An upload the unit refused or did not answer is sent again this many times.
inline constexpr int kUploadRetries = 5;

// Marks the record as uploaded and assembles its image with the end page's two texts and the
// language code of the language in use.
void BuildUploadImage(DeviceData& data, ImageBuffer& image, std::string_view endText1,
                      std::string_view endText2, unsigned langCode);
