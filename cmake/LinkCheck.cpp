// The entry of a layer's link check: the layer's objects come in whole, so any call they make
// that neither the layer nor what it links defines fails the link.
int main() {
    return 0;
}
