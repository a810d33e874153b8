// Realistic shop products for the demo devices: Russian names, prices,
// sections, barcodes (weight codes starting with "20" for weighed goods).
#pragma once

#include <random>
#include <vector>

#include "common/product_record.h"

namespace zel {

/// `count` products; names keep to `nameChars` characters.
std::vector<ProductRecord> DemoProducts(std::mt19937& rng, int count, int nameChars);

}  // namespace zel
