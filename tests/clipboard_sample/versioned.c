/* A program that does nothing: the file list tests read its version resource. */
int main(void) { return 0; }
