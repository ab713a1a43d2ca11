#pragma once

#include <functional>
#include <string_view>

#include "person_table.h"

// Receives one report text. The text is valid only during the call.
using PairReportSink = std::function<void(std::u16string_view report)>;

// Reports every pair of people of the same sex and exactly equal height:
// first every pair whose Sex is exactly "Male", then every pair whose Sex is
// exactly "Female", each as (i, k) with i < k, ordered by i and then by k.
// A report reads "<prefix><FullName of i>   <FullName of k>". Each report is
// handed to the sink as soon as it is found, before the search goes on. When
// nothing matches, the sink is never called.
void FindSameHeightPairs(const PersonTable& table, const PairReportSink& sink);
