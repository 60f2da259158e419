#include "Store.h"

namespace kalvex {

Store& TheStore() {
    static Store store;
    return store;
}

}  // namespace kalvex
