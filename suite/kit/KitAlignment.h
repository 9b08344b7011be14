#pragma once

#include <Qt>

namespace suite {

// Labels and text boxes share the form's `alignment` codes: 0 left, 1 right,
// 2 centre, always vertically centred.
int kitAlignmentOf(Qt::Alignment alignment);
Qt::Alignment alignmentFromKit(int code);

} // namespace suite
