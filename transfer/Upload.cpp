#include "transfer/Upload.h"

#include "device/DeviceData.h"

void BuildUploadImage(DeviceData& data, ImageBuffer& image, std::string_view endText1,
                      std::string_view endText2, unsigned langCode) {
    data.setTamperEventFlags(data.tamperEventFlags() | layout::kTamperUploaded);
    BuildConfigurationImage(data, image, endText1, endText2,
                            static_cast<std::uint16_t>(langCode & 0xFFFF));
}
