#include "saver/VideoFit.h"

#include <cstdint>

namespace lumivane {

Rect FitVideo(VideoSize video, const Rect& area) {
    if (video.width <= 0 || video.height <= 0 || area.width <= 0 || area.height <= 0)
        return {area.left + area.width / 2, area.top + area.height / 2, 0, 0};
    // Compare the shapes in 64 bits: a huge frame size times a monitor's width
    // passes 2^31.
    const std::int64_t byWidth = std::int64_t{area.width} * video.height;
    const std::int64_t byHeight = std::int64_t{area.height} * video.width;
    int width = area.width, height = area.height;
    if (byWidth > byHeight) // the area is wider than the video: bars left and right
        width = static_cast<int>((byHeight + video.height / 2) / video.height);
    else if (byWidth < byHeight) // taller: bars above and below
        height = static_cast<int>((byWidth + video.width / 2) / video.width);
    width = width < 1 ? 1 : width;
    height = height < 1 ? 1 : height;
    return {area.left + (area.width - width) / 2, area.top + (area.height - height) / 2, width, height};
}

} // namespace lumivane
