// "tonvek.cfg", read as at start, and the main window placed from its rectangle on a
// few screens: whatever the file holds, the window has an area and lies on the screen.

#include "FuzzSupport.h"

#include "shell/TMainConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TTempFile file(data, size, TMainConfig::FileName);
    const TMainConfig config = TMainConfig::Read(file.Path());
    if (size < 16)
        fuzz::Check(!config.rect && config.showUnitHint, "a short file leaves the defaults");
    if (!config.rect)
        return 0;
    static constexpr TWindowRect kScreens[] = {
        {0, 0, 1920, 1080}, {-1280, -1024, 0, 0}, {0, 0, 150, 100}, {100, 50, 900, 650}};
    for (const TWindowRect& screen : kScreens) {
        const auto placed = PlaceOnScreen(*config.rect, screen);
        if (!placed)
            continue;
        fuzz::Check(placed->left >= screen.left && placed->top >= screen.top && placed->right <= screen.right &&
                        placed->bottom <= screen.bottom,
                    "the window lies on the screen");
        fuzz::Check(placed->right > placed->left && placed->bottom > placed->top, "the window has an area");
    }
    return 0;
}
