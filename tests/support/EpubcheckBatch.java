// Checks many books in one Java process, so the EPUB checker's start (the JVM and its schemas)
// is paid once per batch instead of once per book. Run in source-file mode:
//
//   java -cp /usr/share/java/epubcheck.jar EpubcheckBatch.java < list-of-books
//
// Standard input holds one book path a line. Each book's report is framed on standard output,
// so the caller tells the verdicts apart:
//
//   @@book N
//   ...the checker's messages for book N...
//   @@verdict N fatals=F errors=E warnings=W

import com.adobe.epubcheck.api.EpubCheck;
import com.adobe.epubcheck.util.WriterReportImpl;
import java.io.BufferedReader;
import java.io.File;
import java.io.FileDescriptor;
import java.io.FileOutputStream;
import java.io.InputStreamReader;
import java.io.PrintStream;
import java.io.PrintWriter;
import java.io.StringWriter;
import java.nio.charset.StandardCharsets;

public class EpubcheckBatch {
    public static void main(String[] args) throws Exception {
        BufferedReader in =
                new BufferedReader(new InputStreamReader(System.in, StandardCharsets.UTF_8));
        PrintStream out =
                new PrintStream(new FileOutputStream(FileDescriptor.out), false, "UTF-8");
        // Whatever the checker prints by itself goes to the error stream, never into a frame.
        System.setOut(System.err);
        int n = 0;
        for (String path = in.readLine(); path != null; path = in.readLine(), ++n) {
            StringWriter text = new StringWriter();
            PrintWriter writer = new PrintWriter(text);
            int fatals;
            int errors;
            int warnings;
            try {
                WriterReportImpl report = new WriterReportImpl(writer, path, true);
                new EpubCheck(new File(path), report).doValidate();
                fatals = report.getFatalErrorCount();
                errors = report.getErrorCount();
                warnings = report.getWarningCount();
            } catch (Throwable failure) {
                // A book that breaks the checker is a fatal verdict for that book alone.
                failure.printStackTrace(writer);
                fatals = 1;
                errors = 0;
                warnings = 0;
            }
            writer.flush();
            out.println("@@book " + n);
            out.print(text);
            out.println("@@verdict " + n + " fatals=" + fatals + " errors=" + errors
                    + " warnings=" + warnings);
            out.flush();
        }
    }
}
