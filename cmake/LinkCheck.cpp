// The program around each library's link check: nothing runs, everything of the library must link.
int main() {
    return 0;
}
