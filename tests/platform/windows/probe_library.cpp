// A library the dynamic library tests load: it tells which copy of it was found.
extern "C" __declspec(dllexport) int probeCopy() { return PROBE_COPY; }
