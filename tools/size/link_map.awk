# Reads the link map that GNU ld writes for a PE program (-Wl,-Map=...) and prints what each
# part of the image costs, one tab-separated line each:
#   library <bytes> <archive, or object file outside an archive>
#   member  <bytes> <object file, or archive(member)>
#   symbol  <bytes> <symbol> <member>
#   pulled  <bytes> <our object: the symbol it needs>
# The last: the library code that one reference of ours brings into the image, with all that
# this code needs in turn (ld's list of archive members and what first needed each).
# Code and data before the first global symbol of an input section go by the section's name:
# with -ffunction-sections and -fdata-sections it holds the mangled symbol, else it is shown
# in brackets ("[.text]").
# Only what takes room in the file counts: not .bss, not debugging sections. A symbol runs
# from its address to the next symbol of its input section, or to the section's end.

function hex(text,   value, i) {
  text = tolower(text)
  sub(/^0x/, "", text)
  value = 0
  for (i = 1; i <= length(text); i++)
    value = value * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
  return value
}

# "/usr/lib/gcc/.../libstdc++.a(cp-demangle.o)" -> "libstdc++.a(cp-demangle.o)";
# "demo/pelmora/CMakeFiles/demo_pelmora.dir/main.cpp.obj" -> "demo/pelmora/main.cpp.obj".
function short_name(file,   archive, member) {
  if (file == "dll stuff") return "(linker)"  # ld's name for the base relocations
  if (match(file, /\(.*\)$/)) {
    archive = substr(file, 1, RSTART - 1)
    member = substr(file, RSTART)
    sub(/.*\//, "", archive)
    return archive member
  }
  gsub(/CMakeFiles\/[^\/]*\.dir\//, "", file)
  gsub(/\/\.\.\/[^ ]*\/lib\//, "/", file)
  if (file ~ /^\//) sub(/.*\//, "", file)
  return file
}

# "libstdc++.a(cp-demangle.o)" -> "libstdc++.a"; an object outside an archive stands alone.
function library_of(member) {
  if (member ~ /^[^(]+\(/) sub(/\(.*\)$/, "", member)
  return member
}

# The text of the line after its first `count` fields.
function rest_after(count,   text, i) {
  text = $0
  for (i = 1; i <= count; i++) sub(/^ *[^ ]+/, "", text)
  sub(/^ +/, "", text)
  return text
}

function begin_section(name, start, size, file) {
  section = name
  section_start = start
  section_size = size
  section_member = short_name(file)
  symbols = 0
}

# Charges the current input section to its member and library, and to its symbols.
function end_section(   i, end, label, first) {
  if (section == "" || !counting || section_size == 0) {
    section = ""
    return
  }
  member_bytes[section_member] += section_size
  library_bytes[library_of(section_member)] += section_size
  first = symbols > 0 ? symbol_address[1] : section_start + section_size
  if (first > section_start) {
    # Code or data before the first global symbol: name it after the section, whose name
    # holds the (mangled) symbol with -ffunction-sections and -fdata-sections.
    label = section
    if (!sub(/^\.[a-z_]+[$.]/, "", label)) label = "[" label "]"
    charge_symbol(label, section_member, first - section_start)
  }
  for (i = 1; i <= symbols; i++) {
    end = i < symbols ? symbol_address[i + 1] : section_start + section_size
    if (end > symbol_address[i]) charge_symbol(symbol_name[i], section_member, end - symbol_address[i])
  }
  section = ""
}

function charge_symbol(name, member, bytes) {
  symbol_bytes[name SUBSEP member] += bytes
}

# One line of the archive member list: "member" then "  referrer (symbol)", on one line or
# on two.
function note_member_line(   text, split_at) {
  text = $0
  if (text ~ /^[^ ]/) {
    member_line = text
    if (!match(text, /  +[^ ]/)) return
    member_line = substr(text, 1, RSTART - 1)
    text = substr(text, RSTART)
  }
  sub(/^ +/, "", text)
  split_at = index(text, " (")
  if (member_line == "" || split_at == 0) return
  note_member(member_line, substr(text, 1, split_at - 1), substr(text, split_at + 2))
  member_line = ""
}

function note_member(member, referrer, symbol,   name) {
  sub(/\)$/, "", symbol)
  name = short_name(member)
  needed_by[name] = short_name(referrer)
  needed_for[name] = symbol
  is_ours[name] = member !~ /^\//
  is_ours[short_name(referrer)] = referrer !~ /^\//
}

# The reference of ours that brought `member` in: the first object of ours up the chain of
# members that needed one another, or the start-up file that began the chain.
function root_of(member,   current) {
  current = member
  while (current in needed_by) {
    if (is_ours[needed_by[current]]) return needed_by[current] ": " needed_for[current]
    current = needed_by[current]
  }
  return current
}

BEGIN { in_map = 0; counting = 0; section = ""; pending = ""; member_line = "" }

/^Archive member included/ { in_members = 1; next }
/^(Discarded input sections|Allocating common symbols|Memory Configuration)/ { in_members = 0 }
in_members && NF > 0 { note_member_line(); next }

/^Linker script and memory map/ { in_map = 1; next }
!in_map { next }

# An output section (or a LOAD, OUTPUT or /DISCARD/ line) starts in the first column.
/^[^ ]/ {
  end_section()
  pending = ""
  counting = $1 ~ /^\./ && $1 != ".bss" && $1 !~ /debug|^\.stab/
  next
}

# Patterns of the linker script: " *(.text)".
/^ \*\(/ { end_section(); pending = ""; next }

/^ \*fill\*/ {
  end_section()
  if (counting) {
    member_bytes["(alignment)"] += hex($3)
    library_bytes["(alignment)"] += hex($3)
  }
  next
}

# An input section: " .text  0x00401000  0x4e0 file", or its name alone when it is long,
# with address, size and file on the next line.
/^ [^ ]/ {
  end_section()
  if (NF >= 4) begin_section($1, hex($2), hex($3), rest_after(3))
  else pending = $1
  next
}

/^ +0x/ {
  if (pending != "" && $2 ~ /^0x/) {
    begin_section(pending, hex($1), hex($2), rest_after(2))
    pending = ""
  } else if ($2 ~ /^0x/) {
    # Data that the linker script itself writes ("LONG 0xffffffff").
    end_section()
    if (counting) {
      member_bytes["(linker)"] += hex($2)
      library_bytes["(linker)"] += hex($2)
    }
  } else if (section != "" && $0 !~ / = / && $0 !~ /PROVIDE|ASSERT/) {
    symbol_address[++symbols] = hex($1)
    symbol_name[symbols] = rest_after(1)
  }
  next
}

END {
  end_section()
  for (name in library_bytes) printf "library\t%.0f\t%s\n", library_bytes[name], name
  for (name in member_bytes) printf "member\t%.0f\t%s\n", member_bytes[name], name
  for (key in symbol_bytes) {
    split(key, part, SUBSEP)
    printf "symbol\t%.0f\t%s\t%s\n", symbol_bytes[key], part[1], part[2]
  }
  for (name in member_bytes) {
    if ((name in is_ours) && !is_ours[name]) pulled_bytes[root_of(name)] += member_bytes[name]
  }
  for (name in pulled_bytes) printf "pulled\t%.0f\t%s\n", pulled_bytes[name], name
}
