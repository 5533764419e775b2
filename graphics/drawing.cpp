#include "graphics/drawing.h"
