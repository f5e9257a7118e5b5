// The synthetic world's sources, compiled into the 3D view's tests (the benchmark compiles them too).
#include "bench/scenes/ViewScene.cpp"
