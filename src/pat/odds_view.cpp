#include "pat/odds_view.h"

namespace zm {

PatVer patVerOf(const QString& ver) {
    if (ver == u"31")
        return PatVer::V31;
    if (ver == u"95")
        return PatVer::V95;
    if (ver == u"98")
        return PatVer::V98;
    return PatVer::None;
}

}  // namespace zm
