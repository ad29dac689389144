#include "vessara/FatalError.h"

#include "kestrane/Messages.h"

namespace Vessara {

void fatalError(const std::string& message)
{
    Kestrane::fatal("Quarnel Vessara Error", message);
}

}  // namespace Vessara
