// The runtime naming a series header: the check must refuse it.
#pragma once

#include "series/series.h"
