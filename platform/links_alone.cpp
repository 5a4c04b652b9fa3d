// The program a layer's library is linked into on its own (see tickvane_links_alone):
// it calls nothing, so only the layer's own references must resolve.
int main() { return 0; }
