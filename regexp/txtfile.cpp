#include "txtfile.h"
