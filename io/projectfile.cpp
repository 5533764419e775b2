#include "io/projectfile.h"
