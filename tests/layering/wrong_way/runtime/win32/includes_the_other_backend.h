#pragma once

// One backend that includes the other and its toolkit.
#include <QWidget>

#include "runtime/qt/qt_text.h"
