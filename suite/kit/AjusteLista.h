#pragma once

namespace suite {

class ListView;

// Sizes a list's columns to their content: each column as wide as its widest
// text, header included, plus a small margin.
class AjusteLista
{
public:
    void Ajusta(ListView *list);
};

} // namespace suite
