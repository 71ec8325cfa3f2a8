#include "app/NadavoApplication.h"

START_JUCE_APPLICATION(NadavoApplication)
