#pragma once
// The order of every list of classes the reports show: schools in the order they first appear in
// the score sheet, within a school the classes by their number (1, 2, … 10), then the classes
// whose name is no number, in sheet order.

#include <cstddef>
#include <vector>

#include "app/app_state.h"

namespace varnex {

/// The entries of `classes` (in sheet order) in class order, as indexes into `classes`.
std::vector<size_t> classOrder(const ClassList& classes);

/// The schools of `classes`, each once, in the order they first appear.
std::vector<std::string> schoolsOf(const ClassList& classes);

}  // namespace varnex
