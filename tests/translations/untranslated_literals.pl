# Prints every Japanese string literal of the given C++ files that is not the text of a
# tr(), translate() or RAVINEL_TRANSLATABLE call, as "file:line: literal". Comments and
# character literals are skipped; adjacent literals count as one.
use strict;
use warnings;
use utf8;
binmode STDOUT, ':encoding(UTF-8)';
local $/;
my $marked = qr/(?:\btr\s*\(|\btranslate\s*\(\s*"[^"]*"\s*,|RAVINEL_TRANSLATABLE\s*\(\s*"[^"]*"\s*,)\s*\z/;
for my $file (@ARGV) {
    open my $in, '<:encoding(UTF-8)', $file or die "$file: $!\n";
    my $source = <$in>;
    while ($source =~ m{(//[^\n]*)|(/\*.*?\*/)|('(?:[^'\\\n]|\\.)*')|((?:"(?:[^"\\\n]|\\.)*"\s*)+)}gs) {
        next unless defined $4;
        my ($literal, $start) = ($4, $-[4]);
        next unless $literal =~ /[\p{Hiragana}\p{Katakana}\p{Han}]/;
        my $from = $start > 300 ? $start - 300 : 0;
        next if substr($source, $from, $start - $from) =~ $marked;
        my $line = 1 + (substr($source, 0, $start) =~ tr/\n//);
        $literal =~ s/\s+\z//;
        print "$file:$line: $literal\n";
    }
}
