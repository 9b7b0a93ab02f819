namespace velmor {}
