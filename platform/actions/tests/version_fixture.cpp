// A library that is nothing but its version resource.
extern "C" __declspec(dllexport) int VersionFixtureMarker() { return 1; }
