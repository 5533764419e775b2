#include "analysis/analysis.h"
