# The pages of docs/ read by Doxygen as they are, except that links into a heading of another page
# (cli.md#kind) point at the page: Doxygen cannot resolve the heading's anchor.
s|(\([a-z]*\.md\)#[a-z0-9-]*)|(\1)|g
# A page's title is plain text in Doxygen's navigation and page list, where code markup would
# show as a literal `<tt>`: the title loses its backticks.
1s|`||g
