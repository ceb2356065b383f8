// TRiDaS, the XML data standard of tree-ring research (version 1.2): its
// measurement series and derived series (chronologies, with the count of
// each value), read with the system's XML library. A series is named by its
// identifier (or, without one, by the titles of its object, element, sample
// and radius joined by "-"); the path of titles from the project down is
// kept as its note. Years: AD as they are, BC n as the year 1 - n, BP n as
// 1950 - n.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "series/exchange.h"

namespace series {

bool looksLikeTridas(const std::vector<std::string_view>& lines);
ExchangeRead readTridas(std::string_view text);
std::string writeTridas(const std::vector<NamedSeries>& series);

// Makes convert and check take the format ("tridas").
void registerTridas();

}  // namespace series
