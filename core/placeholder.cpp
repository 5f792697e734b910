namespace ld { int PlaceholderForBuild() { return 0; } }
