#include "ui/NVLookAndFeel.h"

NVLookAndFeel::NVLookAndFeel()
{
    setColourScheme(getLightColourScheme());
}
