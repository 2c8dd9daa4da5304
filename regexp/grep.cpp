#include "grep.h"
