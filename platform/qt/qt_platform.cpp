#include "platform/qt/qt_platform.h"
