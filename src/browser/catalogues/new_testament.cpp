#include "browser/catalogues/new_testament.h"

namespace velumir {

Catalogue newTestament()
{
    return {};
}

} // namespace velumir
