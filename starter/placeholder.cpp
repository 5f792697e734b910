namespace ld { int StarterPlaceholderForBuild() { return 0; } }
