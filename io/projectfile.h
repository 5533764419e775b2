#pragma once

// Project file (*.lof) reading and writing; filled in by the file format work.
