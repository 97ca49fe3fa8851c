#pragma once

// Makes the program's artwork reachable under ":/"; call once before use.
void loadVokaboResources();
