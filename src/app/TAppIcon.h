#pragma once
// The program's icon, drawn rather than loaded so that no picture file has to travel
// with the executable: a loudspeaker in front of two sound waves.

#include <QIcon>

namespace TAppIcon {
QIcon Get();
}
