// The session naming a window header: the check must refuse it.
#pragma once

#include <QWidget>

#include "console/frame.h"
